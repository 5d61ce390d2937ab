#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "platform/rtl/Registry.h"

using namespace rtl;

namespace {
class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path()); }
    QTemporaryDir dir_;
};
} // namespace

TEST_F(RegistryTest, ValuesKeepTheirKindAndNamesIgnoreCase)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Ammerlin/Test\\Sub", true));   // "/" is part of a name
        reg.WriteString("Text", "a\\b \"q\"\r\nnext");
        reg.WriteInteger("Int", -7);
        reg.WriteFloat("Float", 0.1);
        reg.WriteCurrency("Money", Currency::FromScaled(123456));
        reg.WriteBool("Flag", true);
        reg.WriteExpandString("Path", "%HOME%");
        reg.CloseKey();
    }
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\ammerlin/test\\sub"));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\ammerlin/test\\sub");
    EXPECT_EQ(reg.GetDataType("text"), rdString);
    EXPECT_EQ(reg.ReadString("TEXT"), "a\\b \"q\"\r\nnext");
    EXPECT_EQ(reg.GetDataType("Int"), rdInteger);
    EXPECT_EQ(reg.ReadInteger("Int"), -7);
    EXPECT_EQ(reg.GetDataType("Float"), rdBinary);
    EXPECT_EQ(reg.ReadFloat("Float"), 0.1);
    EXPECT_EQ(reg.ReadCurrency("Money").Value, 123456);
    EXPECT_TRUE(reg.ReadBool("Flag"));
    EXPECT_EQ(reg.GetDataType("Path"), rdExpandString);
    EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadFloat("Int"), ERegistryException);
    EXPECT_THROW(reg.WriteInteger("Int", 1), ERegistryException);   // opened read-only

    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Text(), "Text\r\nInt\r\nFloat\r\nMoney\r\nFlag\r\nPath\r\n");
}

TEST_F(RegistryTest, KeysExistEmptyAndDeleteWithTheirSubtree)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("\\A\\B", false));
    EXPECT_TRUE(reg.CreateKey("\\A\\B\\C"));
    EXPECT_TRUE(reg.CreateKey("\\A\\[ClassName]"));
    EXPECT_TRUE(reg.KeyExists("\\A\\B"));
    ASSERT_TRUE(reg.OpenKey("\\A", false));
    EXPECT_TRUE(reg.OpenKey("B", false));   // relative to the open key
    EXPECT_EQ(reg.CurrentPath(), "A\\B");
    ASSERT_TRUE(reg.OpenKey("\\A", false));
    TStringList keys;
    reg.GetKeyNames(&keys);
    EXPECT_EQ(keys.Text(), "B\r\n[ClassName]\r\n");
    EXPECT_TRUE(reg.DeleteKey("\\A\\B"));
    EXPECT_FALSE(reg.KeyExists("\\A\\B\\C"));
    EXPECT_TRUE(reg.KeyExists("\\A"));
    TRegistry readOnly(KEY_READ);
    EXPECT_FALSE(readOnly.OpenKey("\\New", true));
}
