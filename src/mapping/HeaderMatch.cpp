#include "mapping/HeaderMatch.h"

#include "base/NumberText.h"

#include <map>
#include <set>

namespace vx {

namespace {

bool IsWordByte(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c >= 0x80; }

bool IsUnitWord(std::string_view word)
{
    for (const char* unit : {"in", "inch", "inches", "mm", "cm"})
        if (word == unit)
            return true;
    return false;
}

} // namespace

std::string HeaderKey(std::string_view header)
{
    std::vector<std::string> words(1);
    int depth = 0;
    for (size_t i = 0; i < header.size(); ++i) {
        auto c = static_cast<unsigned char>(header[i]);
        if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (depth == 0) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<unsigned char>(c + 32);
            // Capital letters of Latin-1 written in UTF-8 (C3 80..9E but for the sign x).
            if (c >= 0x80 && c <= 0x9E && c != 0x97 && i > 0 && header[i - 1] == '\xC3')
                c = static_cast<unsigned char>(c + 32);
            if (IsWordByte(c))
                words.back() += static_cast<char>(c);
            else if (!words.back().empty())
                words.emplace_back();
        }
    }
    if (words.back().empty())
        words.pop_back();
    if (words.size() > 1 && IsUnitWord(words.back()))
        words.pop_back();
    std::string key;
    for (const std::string& w : words)
        key += w;
    return key;
}

std::vector<std::pair<std::string, std::string>> ReadKnownHeaderNames(Connection& connection)
{
    std::vector<std::pair<std::string, std::string>> names;
    if (!connection.TableExists("tblHeaderNames"))
        return names;
    Statement st = connection.Prepare("SELECT MainName, HeaderName FROM tblHeaderNames");
    while (st.Step())
        names.emplace_back(st.ColumnText(0), st.ColumnText(1));
    return names;
}

int MatchColumnsByHeader(ColumnMapping& mapping, const std::vector<std::string>& headers,
                         const std::vector<std::pair<std::string, std::string>>& knownNames,
                         const std::vector<bool>& byHand)
{
    // Every name of every field, by key; the first field in IDNum order keeps a shared key.
    std::map<std::string, int> fieldOf;
    std::multimap<std::string, std::string> known; // MainName in upper case -> header name
    for (const auto& [mainName, header] : knownNames)
        known.emplace(UpperCase(TrimBlanks(mainName)), header);
    RecordSet& rs = mapping.MappingRS();
    rs.SetFilter("");
    rs.SetSort("IDNum");
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const int id = rs.Value("IDNum").toLong();
        const std::string mainName = UpperCase(TrimBlanks(rs.Value("MainName").toText()));
        std::vector<std::string> names{mapping.DisplayLabel(id), mainName};
        auto [from, to] = known.equal_range(mainName);
        for (auto it = from; it != to; ++it)
            names.push_back(it->second);
        for (const std::string& name : names)
            if (std::string key = HeaderKey(name); !key.empty())
                fieldOf.emplace(key, id);
    }
    rs.SetSort("");

    auto chosenByHand = [&](int c) { return c <= static_cast<int>(byHand.size()) && byHand[static_cast<size_t>(c - 1)]; };
    std::set<std::string> taken; // labels of the hand-chosen columns, then of matched ones
    for (int c = 1; c <= mapping.ColumnCount(); ++c) {
        if (chosenByHand(c))
            taken.insert(mapping.Cell(c));
        else
            mapping.SetCell(c, kNotUsed);
    }
    int matched = 0;
    const int columns = std::min(mapping.ColumnCount(), static_cast<int>(headers.size()));
    for (int c = 1; c <= columns; ++c) {
        if (chosenByHand(c))
            continue;
        auto field = fieldOf.find(HeaderKey(headers[static_cast<size_t>(c - 1)]));
        if (field == fieldOf.end())
            continue;
        const std::string& label = mapping.DisplayLabel(field->second);
        if (!taken.insert(label).second)
            continue;
        mapping.SetCell(c, label);
        ++matched;
    }
    return matched;
}

} // namespace vx
