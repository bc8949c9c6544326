#include "uninstall_record.h"

#include <algorithm>
#include <cstdlib>

namespace uninstall {

namespace {

bool IsNumber(const Text& t) {
    return !t.empty() && t.size() <= 9 && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The values of a section: numbered keys in number order, then the others
// in file order.
std::vector<std::pair<Text, Text>> Section(const platform::Registry& r, const Text& file, const Text& section) {
    std::vector<std::pair<Text, Text>> numbered, other;
    for (const Text& key : r.profileKeys(file, section)) {
        auto v = r.readProfileString(file, section, key);
        if (!v) continue;
        (IsNumber(key) ? numbered : other).emplace_back(key, *v);
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return std::atoi(a.first.c_str()) < std::atoi(b.first.c_str()); });
    numbered.insert(numbered.end(), other.begin(), other.end());
    return numbered;
}

std::vector<Text> Values(const platform::Registry& r, const Text& file, const Text& section) {
    std::vector<Text> values;
    for (auto& [key, value] : Section(r, file, section))
        if (!platform::TrimBlanks(value).empty()) values.push_back(value);
    return values;
}

}  // namespace

UninstallRecord ReadUninstallRecord(const platform::Registry& r, const Text& file) {
    UninstallRecord rec;
    rec.title = r.readProfileString(file, "Info", "title").value_or("");
    rec.installDir = r.readProfileString(file, "Info", "InstallDir").value_or("");
    rec.linkFileName = r.readProfileString(file, "Info", "LinkFileName").value_or("");
    rec.uninstall = Values(r, file, "uninstall");
    rec.reg = Values(r, file, "reg");
    rec.unreg = Values(r, file, "unreg");
    for (auto& [key, value] : Section(r, file, "ocx"))
        if (IsNumber(key)) rec.ocx.emplace_back(std::atoi(key.c_str()), value);
    return rec;
}

Text ProductTitle(const UninstallRecord& record, const Text& installDir) {
    if (!platform::TrimBlanks(record.title).empty()) return record.title;
    Text prefix = platform::LowerAscii(UninstallKeyPrefix);
    for (const Text& key : record.unreg)
        if (platform::LowerAscii(key).rfind(prefix, 0) == 0 && key.size() > prefix.size())
            return key.substr(prefix.size());
    size_t cut = platform::FindLastCharacter(installDir, '\\');
    Text last = cut == Text::npos ? installDir : installDir.substr(cut + 1);
    return last.empty() ? Text("this program") : last;
}

bool IsProductUninstallKey(const Text& key) {
    Text prefix = platform::LowerAscii(UninstallKeyPrefix);
    if (platform::LowerAscii(key).rfind(prefix, 0) != 0) return false;
    Text product = key.substr(prefix.size());
    return !platform::TrimBlanks(product).empty() && platform::FindFirstCharacter(product, '\\') == Text::npos;
}

}  // namespace uninstall
