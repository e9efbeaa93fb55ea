// The widget adapters keep the rules the windows were written for: change events
// only on real change, ranges that clamp, a drop-down that shows its initial text
// with nothing selected, and fields that show their whole value.
#include "Exception.h"
#include "Messages.h"
#include "PaintCounter.h"
#include "PaintPacer.h"
#include "Widgets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace platform;

using consoletest::PaintCounter;

namespace {

class WidgetAdapters : public ::testing::Test {
protected:
    void SetUp() override
    {
        ApplyLook(*qApp);
        parent = std::make_unique<QWidget>();
        parent->resize(300, 200);
    }
    std::unique_ptr<QWidget> parent;
};

TEST_F(WidgetAdapters, EditRunsItsChangeEventOnlyWhenTheTextReallyChanges)
{
    auto* edit = new TEdit(parent.get(), "edit", {8, 8, 41, 18}, "0", true);
    int changes = 0;
    edit->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        ++changes;
    };
    edit->SetText("0");
    EXPECT_EQ(changes, 0);
    edit->SetText("12.5");
    edit->SetText("12.5");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit->Text(), "12.5");
}

// A telemetry field changes many times a second; the line edit under it lays its
// text out on every change, so a read-only field shows and reports its value at
// once and hands the line edit only the newest value of a burst, a moment later.
TEST_F(WidgetAdapters, ReadOnlyFieldHandsTheLineEditOnlyTheNewestValueOfABurst)
{
    auto* field = new TEdit(parent.get(), "field", {8, 8, 41, 18}, "0", true);
    auto* typed = new TEdit(parent.get(), "typed", {8, 40, 41, 18}, "0", false);
    int lineChanges = 0;
    QObject::connect(field, &QLineEdit::textChanged, [&] { ++lineChanges; });
    for (int i = 1; i <= 50; ++i)
        field->SetText(std::to_string(i));
    typed->SetText("7");

    EXPECT_EQ(field->Text(), "50");
    EXPECT_EQ(typed->text(), "7") << "an editable field has no reason to wait";
    EXPECT_EQ(lineChanges, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return field->text() == "50"; }, 10000));
    EXPECT_EQ(lineChanges, 1);
}

TEST_F(WidgetAdapters, EditChangeErrorEndsTheCallerWhenSetFromCodeAndIsReportedWhenTyped)
{
    auto* edit = new TEdit(parent.get(), "edit", {8, 8, 60, 18}, "", false);
    edit->OnChange = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };

    // Set from code, the error travels to the handler that set the text, as it
    // would end that handler.
    EXPECT_THROW(edit->SetText("x"), EConvertError);

    // Typed by the user, the error report shows it and the event loop goes on.
    MessageCapture capture;
    parent->show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Y);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"'x' is not a valid integer value."});
}

TEST_F(WidgetAdapters, EditFontColourIsAColourValueWithRedInTheLowByte)
{
    auto* edit = new TEdit(parent.get(), "edit", {8, 8, 60, 18}, "GPS", false);
    edit->SetFontColor(255);
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(edit->FontColor(), 255u);
    edit->SetFontColor(0x000080);
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(128, 0, 0));
}

struct FitCase {
    int width;
    const char* text;
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.width << "px \"" << c.text << '"'; }

class FieldShowsWholeValue : public WidgetAdapters, public ::testing::WithParamInterface<FitCase> {};

// Paints the field and finds the columns the text inks: a value that does not fit
// is scrolled or clipped, and its ink then runs into the edge of the text area.
TEST_P(FieldShowsWholeValue, WithoutScrollingOrClipping)
{
    const FitCase& c = GetParam();
    auto* edit = new TEdit(parent.get(), "edit", {8, 8, c.width, 18}, "", true);
    parent->show();
    const QImage empty = edit->grab().toImage();
    edit->SetText(c.text);
    const QImage filled = edit->grab().toImage();
    ASSERT_EQ(empty.size(), filled.size());

    int left = filled.width(), right = -1;
    for (int x = 0; x < filled.width(); ++x)
        for (int y = 0; y < filled.height(); ++y)
            if (empty.pixel(x, y) != filled.pixel(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0) << "no text painted";
    // One clear column at least between the ink and each side's frame.
    EXPECT_GE(left, 2);
    EXPECT_LE(right, filled.width() - 3);
    // Whole: the ink is as wide as the text in the font the field uses.
    EXPECT_GE(right - left + 2, QFontMetrics(edit->font()).horizontalAdvance(c.text) - 2);
}

INSTANTIATE_TEST_SUITE_P(ValueFields, FieldShowsWholeValue,
                         ::testing::Values(FitCase{41, "-32768"}, FitCase{41, "-179.99"}, FitCase{41, "475.35"},
                                           FitCase{41, "-90.0000"}, FitCase{41, "-123.4500"},
                                           FitCase{33, "-10.00"}, FitCase{33, "645.35"}, FitCase{33, "5461"},
                                           FitCase{49, "100.78"}));

TEST_F(WidgetAdapters, EditKeepsTheNormalFontForValuesThatFit)
{
    auto* edit = new TEdit(parent.get(), "edit", {8, 8, 41, 18}, "-179.99", true);
    EXPECT_EQ(edit->font().pixelSize(), FieldFont().pixelSize());
    edit->SetText("-123.4500");
    EXPECT_LT(edit->font().pixelSize(), FieldFont().pixelSize());
    edit->SetText("-32768");
    EXPECT_EQ(edit->font().pixelSize(), FieldFont().pixelSize());
}

TEST_F(WidgetAdapters, DropDownShowsItsInitialTextWithNothingSelected)
{
    auto* list = new TComboBox(parent.get(), "list", {8, 8, 65, 25}, {"PWM", "SBUS", "PPM"}, "PWM");
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Text(), "PWM");
    list->SetItemIndex(2);
    EXPECT_EQ(list->Text(), "PPM");
    list->AddItem("EXTRA");
    EXPECT_EQ(list->ItemIndex(), 2) << "adding an item keeps the selection";
    list->Clear();
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Text(), "");
    list->AddItem("COM3");
    EXPECT_EQ(list->ItemIndex(), -1) << "the first item added is not selected by itself";
    EXPECT_EQ(list->Text(), "");
}

struct ClampCase {
    int value;
    int shown;
};

void PrintTo(const ClampCase& c, std::ostream* os) { *os << c.value << " -> " << c.shown; }

class RangeClamps : public WidgetAdapters, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(RangeClamps, GaugeAndSliderStandAtTheNearerEnd)
{
    auto* gauge = new TGauge(parent.get(), "gauge", {8, 8, 105, 17}, 1000, 2000, 1500);
    auto* slider = new TSlider(parent.get(), "slider", {8, 40, 201, 25}, 1000, 2000, 1500);
    gauge->SetProgress(GetParam().value);
    slider->SetPosition(GetParam().value);
    EXPECT_EQ(gauge->Progress(), GetParam().shown);
    EXPECT_EQ(slider->Position(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Channels, RangeClamps,
                         ::testing::Values(ClampCase{900, 1000}, ClampCase{2100, 2000}, ClampCase{1000, 1000},
                                           ClampCase{1999, 1999}, ClampCase{-40000, 1000}));

TEST_F(WidgetAdapters, SliderChangeEventRunsOnceperRealChangeFromCodeOrUser)
{
    auto* slider = new TSlider(parent.get(), "slider", {8, 40, 65, 33}, 4, 64, 40);
    std::vector<int> seen;
    slider->OnChange = [&](TObject*) { seen.push_back(slider->Position()); };
    slider->SetPosition(40);
    slider->SetPosition(100); // clamps to 64
    slider->SetPosition(70);  // still 64: no change
    parent->show();
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(seen, (std::vector<int>{64, 63}));
}


TEST_F(WidgetAdapters, GaugeSetFromCodePaintsWithTheWindowNotWithinTheCall)
{
    auto* gauge = new TGauge(parent.get(), "gauge", {8, 8, 105, 17}, 1000, 2000, 1500);
    parent->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
    QCoreApplication::processEvents();
    PaintCounter paints(gauge);

    // A paint inside the call would paint all the window's pending parts with it.
    gauge->SetProgress(1900);
    EXPECT_EQ(paints.count, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }, 10000));
    EXPECT_EQ(gauge->Progress(), 1900);
}

TEST_F(WidgetAdapters, PacedWindowHoldsBackPaintsWithinAnIntervalAndLosesNone)
{
    constexpr int interval = 400;
    new TPaintPacer(parent.get(), interval);
    auto* edit = new TEdit(parent.get(), "edit", {8, 8, 41, 18}, "0", true);
    parent->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
    PaintCounter paints(edit);

    QElapsedTimer sinceFirst;
    sinceFirst.start();
    edit->SetText("1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return paints.count == 1; }, 10000));
    edit->SetText("2");
    QCoreApplication::processEvents();
    edit->SetText("3");
    QCoreApplication::processEvents();
    // Only a machine that took the whole interval to get here may have painted.
    if (sinceFirst.elapsed() < interval) {
        EXPECT_EQ(paints.count, 1);
    }

    // The held-back changes are painted together once the interval is over.
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 1; }, 10000));
    if (sinceFirst.elapsed() < 2 * interval) {
        EXPECT_EQ(paints.count, 2);
    }
    EXPECT_EQ(edit->Text(), "3");
}

TEST_F(WidgetAdapters, ButtonClickErrorIsReportedAndTheEventLoopGoesOn)
{
    MessageCapture capture;
    auto* button = new TButton(parent.get(), "button", {8, 8, 89, 25}, "Save");
    button->OnClick = [](TObject*) { throw EConvertError("'abc' is not a valid floating point value"); };
    parent->show();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"'abc' is not a valid floating point value."});
    EXPECT_EQ(capture.messages().at(0).icon, MessageIcon::Error);
}

} // namespace
