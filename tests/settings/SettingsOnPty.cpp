#include "SettingsOnPty.h"

#include <QTest>

namespace settingstest {

Bytes Then(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

Action Type(const char* edit, const char* text)
{
    return [=](console::TForm1& form) {
        auto* field = form.findChild<platform::TEdit*>(QString::fromLatin1(edit));
        ASSERT_NE(field, nullptr) << edit;
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, QString::fromLatin1(text));
        ASSERT_EQ(field->Text(), text) << edit;
    };
}

Action Slide(const char* slider, std::vector<int> positions)
{
    return [=](console::TForm1& form) {
        auto* control = form.findChild<platform::TSlider*>(QString::fromLatin1(slider));
        ASSERT_NE(control, nullptr) << slider;
        // What a drag ends in: the slider's own value change, not a position set
        // from code.
        for (const int position : positions)
            control->setValue(position);
    };
}

Action Pick(const char* list, const char* name)
{
    return [=](console::TForm1& form) {
        auto* control = form.findChild<platform::TComboBox*>(QString::fromLatin1(list));
        ASSERT_NE(control, nullptr) << list;
        const int index = control->findText(QString::fromLatin1(name));
        ASSERT_GE(index, 0) << name;
        control->setCurrentIndex(index);
    };
}

Bytes SettingsOnPty::WrittenUpToMarker(std::size_t count)
{
    Click("bsSkinButton10");
    return pty.readMaster(count + StopCalibrationFrame.size());
}

void SettingsOnPtyWithComma::SetUp()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SettingsOnPty::SetUp();
}

void SettingsOnPtyWithComma::TearDown()
{
    SettingsOnPty::TearDown();
    QLocale::setDefault(QLocale::c());
}

} // namespace settingstest
