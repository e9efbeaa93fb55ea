// The window-side wrappers follow the application's locale: a German user
// sees and types decimal commas.
#include "Exception.h"
#include "LocaleNumbers.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

class LocaleNumbersTest : public testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(saved_); }
    QLocale saved_;
};

TEST_F(LocaleNumbersTest, GermanLocaleUsesDecimalComma)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(platform::LocaleDecimalSeparator(), ',');
    EXPECT_EQ(platform::FormatTwoDecimals(-179.99), "-179,99");
    EXPECT_EQ(platform::FormatFourDecimals(45.12), "45,1200");
    EXPECT_EQ(platform::FormatOneDecimal(1.2), "1,2");
    EXPECT_EQ(platform::FormatGeneral(126 * 0.1), "12,6");
    EXPECT_DOUBLE_EQ(platform::StrToFloat("6,8"), 6.8);
    EXPECT_THROW(platform::StrToFloat("6.8"), platform::EConvertError);
}

TEST_F(LocaleNumbersTest, EnglishLocaleUsesDecimalPoint)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(platform::LocaleDecimalSeparator(), '.');
    EXPECT_EQ(platform::FormatGeneral(126 * 0.1), "12.6");
    EXPECT_DOUBLE_EQ(platform::StrToFloat("6.8"), 6.8);
}

TEST_F(LocaleNumbersTest, SeparatorBeyondAsciiFallsBackToPoint)
{
    // Arabic writes U+066B; a single-byte separator keeps print and read-back in step.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(platform::LocaleDecimalSeparator(), '.');
}

} // namespace
