#include <gtest/gtest.h>

#include <filesystem>

#include "store/ConnectionString.h"
#include "store/Error.h"

namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

TEST(ConnectionString, BuiltFromDirectory) {
    const std::string expected =
        "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=\"583019264750\";"
        "Data Source=/home/shop/data.mdb;Persist Security Info=True";
    EXPECT_EQ(store::buildConnectionString("/home/shop"), expected);
    EXPECT_EQ(store::buildConnectionString("/home/shop/"), expected);
    EXPECT_EQ(store::buildConnectionStringForCurrentDirectory(),
              store::buildConnectionString(std::filesystem::current_path().string()));

    EXPECT_EQ(store::parseConnectionString(expected).settings,
              (Settings{{"Provider", "Microsoft.Jet.OLEDB.4.0"},
                        {"Jet OLEDB:Database Password", "583019264750"},
                        {"Data Source", "/home/shop/data.mdb"},
                        {"Persist Security Info", "True"}}));
}

TEST(ConnectionString, InitialStringHasEverySettingInOrder) {
    const std::string& text = store::initialConnectionString();
    EXPECT_EQ(text,
              "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=data.mdb;"
              "Mode=Share Deny None;Persist Security Info=False;"
              "Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";"
              "Jet OLEDB:Database Password=583019264750;Jet OLEDB:Engine Type=5;"
              "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
              "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
              "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
              "Jet OLEDB:Don't Copy Locale on Compact=False;"
              "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False");

    auto parsed = store::parseConnectionString(text);
    ASSERT_EQ(parsed.settings.size(), 18u);
    EXPECT_EQ(parsed.settings[0].first, "Provider");
    EXPECT_EQ(parsed.settings[5],
              (std::pair<std::string, std::string>{"Jet OLEDB:System database", ""}));
    EXPECT_EQ(parsed.settings[7].second, "583019264750");
    EXPECT_EQ(parsed.settings[17].first, "Jet OLEDB:SFP");
    ASSERT_NE(parsed.find("data source"), nullptr);
    EXPECT_EQ(*parsed.find("data source"), "data.mdb");
}

TEST(ConnectionString, QuotedValuesKeepSemicolonsAndDoubledQuotes) {
    auto parsed =
        store::parseConnectionString("A=\"x;y\";B='it''s';;C = plain ;D=\"say \"\"hi\"\"\"");
    EXPECT_EQ(parsed.settings,
              (Settings{{"A", "x;y"}, {"B", "it's"}, {"C", "plain"}, {"D", "say \"hi\""}}));
}

TEST(ConnectionString, TargetTakesRelativeSourceFromCurrentDirectory) {
    auto target = store::connectionTarget(store::initialConnectionString());
    EXPECT_EQ(target.file, (std::filesystem::current_path() / "data.mdb").string());
    EXPECT_EQ(target.password, "583019264750");

    auto built = store::connectionTarget(store::buildConnectionString("/srv/shop"));
    EXPECT_EQ(built.file, "/srv/shop/data.mdb");
    EXPECT_EQ(built.password, "583019264750");

    // A folder with a semicolon (and a quote) in its name still names its own data.mdb.
    EXPECT_EQ(store::connectionTarget(store::buildConnectionString("/srv/a;\"b")).file,
              "/srv/a;\"b/data.mdb");

    EXPECT_THROW(store::connectionTarget("Provider=Microsoft.Jet.OLEDB.4.0"), store::StoreError);
    EXPECT_THROW(store::connectionTarget("Data Source=data.mdb"), store::StoreError);
}

}  // namespace
