#pragma once
// An edit box with the rules the windows were written for: its change event runs
// only when the text really changes, whether the user typed or code set it, and
// the text it shows always fits the box.
#include "Component.h"

#include <QLineEdit>

#include <cstdint>
#include <string>

namespace platform {

// 0x00BBGGRR: red in the low byte, blue in the high byte (255 is red).
using TColor = std::uint32_t;

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    TEdit(QWidget* parent, const QString& name, const QRect& geometry, const QString& text,
          bool readOnly);

    std::string Text() const;
    // Setting the text it already shows does nothing. Otherwise the change event
    // runs within this call, so an error it raises ends the caller's handler too.
    void SetText(const std::string& text);

    // How long a read-only field's QLineEdit text (what copy and screen readers
    // see) may trail the value it shows: handing every telemetry value to the
    // line edit would lay the text out many times a second for nobody.
    static constexpr int LineTextDelayMs = 250;

    TColor FontColor() const;
    void SetFontColor(TColor color);

    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyText(const QString& text);
    void SyncLineText();
    void FitFontToText();
    bool Fits(const QString& text, const QFont& font) const;
    int TextRoomWidth() const;

    bool settingFromCode_ = false;
    int textRoom_ = 0;
    // The text the field shows and reports. A read-only field paints it itself
    // and hands it to the line edit only after LineTextDelayMs.
    QString value_;
    bool lineTextPending_ = false;
};

} // namespace platform
