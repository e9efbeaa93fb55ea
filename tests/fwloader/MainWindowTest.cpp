// The fwloader window with real widgets on the offscreen platform: its layout,
// its seams for the dialog and message boxes, and a whole upload to rb through
// its buttons.
#include "BootLoaderLine.h"
#include "MainWindow.h"
#include "Messages.h"
#include "WidgetsLook.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <ostream>

namespace {

using namespace fwloader_test;
using uploader::TForm1;

serial::PortDiscovery OnlyThese(std::vector<std::string> ports)
{
    return serial::PortDiscovery(std::move(ports), [] { return std::vector<std::string>{}; });
}

std::vector<std::string> MemoLines(const QPlainTextEdit* memo)
{
    std::vector<std::string> lines;
    for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines.push_back(line.toStdString());
    return lines;
}

class Window : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::ApplyLook(*qApp); }

    Window() { Show(form); }

    // The dialog answers as the test says; the window is shown and active.
    void Show(TForm1& window)
    {
        window.OpenDialog1->SetRunner([this](QWidget*, const QString& filter) {
            dialogFilters.push_back(filter);
            return dialogAnswer;
        });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    BootLoaderLine line; // the port the window lists
    platform::MessageCapture messages;
    TForm1 form{OnlyThese({line.Path()})};
    std::optional<QString> dialogAnswer;
    std::vector<QString> dialogFilters;
};

// --- layout ---

struct ControlCase {
    const char* name;
    const char* parent;
    QRect geometry;
    const char* caption; // nullptr for controls without one
};

void PrintTo(const ControlCase& c, std::ostream* out) { *out << c.name; }

class Layout : public Window, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(Layout, ControlStandsAtItsPlaceWithItsCaption)
{
    const ControlCase& c = GetParam();
    auto* control = form.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget()->objectName(), QString::fromLatin1(c.parent));
    EXPECT_EQ(control->geometry(), c.geometry);
    EXPECT_TRUE(control->isVisible());
    if (!c.caption)
        return;
    QString shown;
    if (auto* box = qobject_cast<QGroupBox*>(control))
        shown = box->title();
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        shown = button->text();
    else if (auto* label = qobject_cast<QLabel*>(control))
        shown = label->text();
    EXPECT_EQ(shown, QString::fromLatin1(c.caption));
}

INSTANTIATE_TEST_SUITE_P(
    Form1, Layout,
    ::testing::Values(ControlCase{"bsSkinGroupBox1", "Form1", {8, 8, 281, 89}, "COM Port"},
                      ControlCase{"bsSkinButton2", "bsSkinGroupBox1", {8, 24, 129, 25}, "Connect"},
                      ControlCase{"bsSkinButton3", "bsSkinGroupBox1", {144, 24, 129, 25}, "Open Firmware File"},
                      ControlCase{"bsSkinButton1", "bsSkinGroupBox1", {8, 56, 41, 25}, "Scan"},
                      ControlCase{"bsSkinComboBox1", "bsSkinGroupBox1", {56, 56, 81, 25}, nullptr},
                      ControlCase{"bsSkinEdit1", "bsSkinGroupBox1", {144, 56, 129, 18}, nullptr},
                      ControlCase{"bsSkinGauge1", "Form1", {16, 104, 225, 17}, nullptr},
                      ControlCase{"bsSkinLabel1", "Form1", {240, 104, 41, 17}, "0%"},
                      ControlCase{"bsSkinMemo1", "Form1", {8, 128, 281, 113}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Window, StartsAsAFixedDialogWithEmptyLogAndTheFirstPortSelected)
{
    EXPECT_EQ(form.windowTitle(), "Firmware Uploader");
    EXPECT_EQ(form.size(), QSize(300, 248));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.pos(), QPoint(264, 170));
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);

    EXPECT_TRUE(form.bsSkinMemo1->toPlainText().isEmpty());
    EXPECT_EQ(form.bsSkinMemo1->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(form.bsSkinMemo1->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(form.bsSkinMemo1->font().pixelSize(), 15);
    const QString face = QFontInfo(form.bsSkinMemo1->font()).family();
    EXPECT_TRUE(face == "Arial" || face == "Liberation Sans") << face.toStdString();
    EXPECT_EQ(form.bsSkinMemo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    EXPECT_EQ(form.bsSkinGauge1->Progress(), 0);
    EXPECT_EQ(form.bsSkinGauge1->maximum(), 100);
    EXPECT_FALSE(form.bsSkinGauge1->isTextVisible());
    EXPECT_TRUE(form.bsSkinEdit1->isReadOnly());
    EXPECT_TRUE(form.bsSkinEdit1->Text().empty());
    EXPECT_EQ(form.bsSkinComboBox1->Items(), std::vector<std::string>{line.Path()});
    EXPECT_EQ(form.bsSkinComboBox1->Text(), line.Path());
    EXPECT_EQ(form.findChild<QObject*>("VaComm1"), form.Flow->VaComm1);
    EXPECT_EQ(form.findChild<QObject*>("VaYModem1"), form.Flow->VaYModem1);
}

TEST(WindowWithoutActivation, ListsThePortsOnceShown)
{
    // No window manager: shown, never activated.
    TForm1 form(OnlyThese({"/dev/ttyUSB7"}));
    form.show();
    EXPECT_EQ(form.bsSkinComboBox1->Text(), "/dev/ttyUSB7");
}

TEST_F(Window, OpenFirmwareFileOffersFcuFilesAndCancelChangesNothing)
{
    dialogAnswer = QStringLiteral("/srv/firmware/fw.fcu");
    Click(form.bsSkinButton3);
    EXPECT_EQ(dialogFilters, std::vector<QString>{"*.fcu (*.fcu)"});
    EXPECT_EQ(form.bsSkinEdit1->Text(), "/srv/firmware/fw.fcu");
    EXPECT_EQ(form.Flow->VaYModem1->Files(), QStringList{"/srv/firmware/fw.fcu"});

    dialogAnswer = std::nullopt;
    Click(form.bsSkinButton3);
    EXPECT_EQ(form.bsSkinEdit1->Text(), "/srv/firmware/fw.fcu");
    EXPECT_EQ(form.Flow->VaYModem1->Files(), QStringList{"/srv/firmware/fw.fcu"});

    dialogAnswer = QStringLiteral("/srv/firmware/new.fcu");
    Click(form.bsSkinButton3);
    EXPECT_EQ(form.Flow->VaYModem1->Files(), QStringList{"/srv/firmware/new.fcu"});
}

TEST_F(Window, ConnectWithoutFirmwareShowsTheErrorBox)
{
    Click(form.bsSkinButton2);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "No Firmware File\nPlease Open Firmware File");
    EXPECT_EQ(messages.messages()[0].caption, "Error");
    EXPECT_EQ(form.bsSkinButton2->text(), "Connect");
}

TEST_F(Window, PortThatCannotBeOpenedIsReportedAndTheNextClickRestoresConnect)
{
    TForm1 unplugged(OnlyThese({"/dev/fwloader-test-gone"}));
    Show(unplugged);
    dialogAnswer = QStringLiteral("/srv/firmware/fw.fcu");
    Click(unplugged.bsSkinButton3);

    Click(unplugged.bsSkinButton2);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "Specified device not found (/dev/fwloader-test-gone).");
    EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(unplugged.bsSkinButton2->text(), "DisConnect");

    Click(unplugged.bsSkinButton2);
    EXPECT_EQ(unplugged.bsSkinButton2->text(), "Connect");
    EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(Window, ScanListsThePortsAfreshAndTheChoiceFollowsTheList)
{
    form.bsSkinComboBox1->setCurrentIndex(-1);
    EXPECT_EQ(form.Flow->PortIndex(), -1);
    Click(form.bsSkinButton1);
    EXPECT_EQ(form.bsSkinComboBox1->Count(), 1);
    EXPECT_EQ(form.bsSkinComboBox1->ItemIndex(), 0);
    EXPECT_EQ(form.Flow->PortText(), line.Path());
}

TEST_F(Window, LogKeepsTheNewestLineInSight)
{
    for (int i = 0; i < 40; ++i)
        form.Flow->VaYModem1Error(nullptr, -15, i + 1);
    const QScrollBar* bar = form.bsSkinMemo1->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(MemoLines(form.bsSkinMemo1).back(), "Upload Error!! ErrCode:-15 ErrCnt:40");
}

TEST_F(Window, ConnectHandshakeAndUploadFillTheGaugeAndLog)
{
    QTemporaryDir files;
    std::vector<uint8_t> firmware(70000);
    for (std::size_t i = 0; i < firmware.size(); ++i)
        firmware[i] = static_cast<uint8_t>((i * 7919u) >> 5);
    const QString path = files.filePath(QStringLiteral("novalk.fcu"));
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(firmware.data()), static_cast<std::streamsize>(firmware.size()));
    dialogAnswer = path;
    Click(form.bsSkinButton3);
    Click(form.bsSkinButton2);
    ASSERT_EQ(form.bsSkinButton2->text(), "DisConnect");
    ASSERT_TRUE(form.Flow->VaComm1->IsOpen()) << (messages.texts().empty() ? "" : messages.texts()[0]);

    const auto receiver = line.StartReceiver();
    line.Say("OK");
    EXPECT_EQ(line.Heard(1, 10s), "1");
    line.Say("C");
    ASSERT_TRUE(WaitFor([&] { return form.Flow->Uploading(); }));
    EXPECT_FALSE(form.bsSkinButton3->isEnabled());
    receiver->Attach();
    ASSERT_TRUE(WaitFor([&] { return !form.Flow->Uploading() && receiver->Finished(); }, 60s))
        << receiver->Diagnostics();

    EXPECT_EQ(receiver->ReceivedFile("novalk.fcu"), firmware);
    std::vector<std::string> log = MemoLines(form.bsSkinMemo1);
    std::erase(log, "Upload Error!! ErrCode:-16 ErrCnt:1"); // a receiver that NAKs the first EOT
    const std::vector<std::string> expected{"Start Upload Firmware!!",
                                            "Got Flight Controller Signal!!",
                                            "Firmware Transfer Starting...",
                                            "File:" + path.toStdString(),
                                            "Size:70000 bytes",
                                            "Firmware Transfer Finished..."};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(form.bsSkinGauge1->Progress(), 100);
    EXPECT_EQ(form.bsSkinLabel1->text(), "100%");
    EXPECT_TRUE(form.bsSkinButton3->isEnabled());
    EXPECT_EQ(form.bsSkinButton2->text(), "DisConnect");
    EXPECT_TRUE(messages.messages().empty());

    // A picture of the window after an upload, for a person to look at.
    const QString picture = QDir::current().filePath(QStringLiteral("fwloader.png"));
    ASSERT_TRUE(form.grab().save(picture));
    std::cout << "window picture: " << picture.toStdString() << "\n";
}

TEST(WindowClosing, AbandonsARunningUpload)
{
    platform::MessageCapture messages;
    BootLoaderLine line;
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("fw.fcu"));
    std::ofstream(path.toStdString()) << "firmware";
    auto form = std::make_unique<TForm1>(OnlyThese({line.Path()}));
    form->Flow->ChooseFirmware(path.toStdString());
    form->show();
    form->Flow->ConnectClick(nullptr);
    line.Say("C");
    ASSERT_TRUE(WaitFor([&] { return form->Flow->Uploading(); }));

    form.reset(); // the sender still waits for the receiver's start

    EXPECT_TRUE(messages.messages().empty());
}

} // namespace
