#include "convert/DelimitedFields.h"

namespace vx {

bool SplitFields(std::string_view line, std::string_view delimiter, bool quoted, std::vector<std::string_view>& fields,
                 std::string& storage)
{
    fields.clear();
    if (delimiter.empty()) {
        fields.push_back(line);
        return true;
    }
    if (!quoted || line.find('"') == std::string_view::npos) {
        size_t pos;
        while ((pos = line.find(delimiter)) != std::string_view::npos) {
            fields.push_back(line.substr(0, pos));
            line.remove_prefix(pos + delimiter.size());
        }
        fields.push_back(line);
        return true;
    }
    // Unquoted text never grows, so the views into storage stay valid while it is filled.
    storage.clear();
    storage.reserve(line.size());
    size_t at = 0;
    while (true) {
        size_t start = at;
        while (start < line.size() && line[start] == ' ')
            ++start;
        if (start < line.size() && line[start] == '"') {
            const size_t begin = storage.size();
            size_t i = start + 1;
            while (true) {
                if (i >= line.size())
                    return false;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        storage += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                storage += line[i++];
            }
            size_t end = line.find(delimiter, i);
            storage.append(line.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i));
            fields.push_back(std::string_view(storage).substr(begin));
            if (end == std::string_view::npos)
                return true;
            at = end + delimiter.size();
            continue;
        }
        size_t end = line.find(delimiter, at);
        if (end == std::string_view::npos) {
            fields.push_back(line.substr(at));
            return true;
        }
        fields.push_back(line.substr(at, end - at));
        at = end + delimiter.size();
    }
}

} // namespace vx
