#include "store/ConnectionString.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "store/Error.h"

namespace store {

namespace {

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string trim(const std::string& text) {
    auto begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    auto end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

}  // namespace

const std::string* ConnectionSettings::find(const std::string& key) const {
    for (const auto& [name, value] : settings)
        if (equalsIgnoringCase(name, key)) return &value;
    return nullptr;
}

// Settings are split at semicolons outside quotes; a quoted value keeps its semicolons, and a
// doubled quote character inside it stands for one.
ConnectionSettings parseConnectionString(const std::string& text) {
    ConnectionSettings out;
    std::size_t i = 0;
    while (i < text.size()) {
        auto eq = text.find('=', i);
        auto semi = text.find(';', i);
        if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
            // A piece without "=": skipped (an empty piece between two semicolons, say).
            if (semi == std::string::npos) break;
            i = semi + 1;
            continue;
        }
        std::string key = trim(text.substr(i, eq - i));
        i = eq + 1;
        while (i < text.size() && text[i] == ' ') ++i;
        std::string value;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
            char quote = text[i++];
            while (i < text.size()) {
                if (text[i] == quote) {
                    if (i + 1 < text.size() && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            auto next = text.find(';', i);
            i = next == std::string::npos ? text.size() : next + 1;
        } else {
            auto next = text.find(';', i);
            value = trim(text.substr(i, next == std::string::npos ? std::string::npos : next - i));
            i = next == std::string::npos ? text.size() : next + 1;
        }
        if (!key.empty()) out.settings.emplace_back(std::move(key), std::move(value));
    }
    return out;
}

std::string buildConnectionString(const std::string& directory) {
    std::string dir = directory;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (dir == "/") dir.clear();
    std::string source = dir + "/" + kDatabaseFileName;
    // A folder name with a semicolon would end the setting early and name another file: such a
    // value is enclosed in double quotes (a quote inside doubled). Other folders stay bare.
    if (source.find(';') != std::string::npos) {
        std::string quoted = "\"";
        for (char c : source) {
            if (c == '"') quoted += '"';
            quoted += c;
        }
        source = quoted + "\"";
    }
    return std::string("Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=\"") +
           kDatabasePassword + "\";Data Source=" + source + ";Persist Security Info=True";
}

std::string buildConnectionStringForCurrentDirectory() {
    return buildConnectionString(std::filesystem::current_path().string());
}

const std::string& initialConnectionString() {
    static const std::string text =
        std::string(
            "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=data.mdb;"
            "Mode=Share Deny None;Persist Security Info=False;"
            "Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";"
            "Jet OLEDB:Database Password=") +
        kDatabasePassword +
        ";Jet OLEDB:Engine Type=5;Jet OLEDB:Database Locking Mode=1;"
        "Jet OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk Transactions=1;"
        "Jet OLEDB:New Database Password=\"\";Jet OLEDB:Create System Database=False;"
        "Jet OLEDB:Encrypt Database=False;Jet OLEDB:Don't Copy Locale on Compact=False;"
        "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False";
    return text;
}

ConnectionTarget connectionTarget(const std::string& connectionString) {
    auto settings = parseConnectionString(connectionString);
    const std::string* source = settings.find("Data Source");
    if (source == nullptr || source->empty())
        throw StoreError("连接字符串缺少数据源（Data Source）");
    const std::string* password = settings.find("Jet OLEDB:Database Password");
    if (password == nullptr) password = settings.find("Password");
    if (password == nullptr)
        throw StoreError("连接字符串缺少数据库密码（Jet OLEDB:Database Password）");
    std::filesystem::path file(*source);
    if (file.is_relative()) file = std::filesystem::current_path() / file;
    return {file.string(), *password};
}

}  // namespace store
