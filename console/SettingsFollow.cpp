// How the settings panels follow the controller: a changed current value moves
// its slider, and a moved slider rewrites the value that Save sends. The chain
// runs nested within one call; a repeated report changes no text, so a slider
// the user has moved stays put until the controller reports something new.
#include "MainWindow.h"

#include "LocaleNumbers.h"

#include <climits>
#include <cmath>

namespace console {

namespace {

// The slider position for a reported value: (value × scale) truncated toward
// zero. The slider clamps it into its range; a value beyond any int is clamped
// here first, as converting it would be undefined.
int SliderPositionOf(const platform::TEdit* currentValue, double scale)
{
    const double scaled = std::trunc(platform::StrToFloat(currentValue->Text()) * scale);
    if (std::isnan(scaled))
        return 0;
    if (scaled <= double(INT_MIN))
        return INT_MIN;
    if (scaled >= double(INT_MAX))
        return INT_MAX;
    return static_cast<int>(scaled);
}

std::string WholeText(int position) { return platform::FormatInteger(position); }
// Position 68 reads 6.8, 60 reads 6.
std::string TenthsText(int position) { return platform::FormatGeneral(position / 10.0); }

} // namespace

void TForm1::bsSkinEdit22Change(TObject*) { bsSkinSlider4->SetPosition(SliderPositionOf(bsSkinEdit22, 1)); }
void TForm1::bsSkinEdit7Change(TObject*) { bsSkinSlider1->SetPosition(SliderPositionOf(bsSkinEdit7, 10)); }
void TForm1::bsSkinEdit9Change(TObject*) { bsSkinSlider2->SetPosition(SliderPositionOf(bsSkinEdit9, 1)); }
void TForm1::bsSkinEdit15Change(TObject*) { bsSkinSlider3->SetPosition(SliderPositionOf(bsSkinEdit15, 10)); }

void TForm1::bsSkinSlider4Change(TObject*) { bsSkinEdit23->SetText(WholeText(bsSkinSlider4->Position())); }
void TForm1::bsSkinSlider1Change(TObject*) { bsSkinEdit8->SetText(TenthsText(bsSkinSlider1->Position())); }
void TForm1::bsSkinSlider2Change(TObject*) { bsSkinEdit14->SetText(WholeText(bsSkinSlider2->Position())); }
void TForm1::bsSkinSlider3Change(TObject*) { bsSkinEdit16->SetText(TenthsText(bsSkinSlider3->Position())); }

} // namespace console
