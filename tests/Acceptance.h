#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// The acceptance tables of tests/acceptance: the game's design as typed from it, and what every
// key does, shared by every face's tests. Each row is its fields by the column names of the
// table's "#" heading line.
namespace acceptance {

using Row = std::map<std::string, std::string>;

inline std::vector<std::string> split(const std::string& line, char by) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, by)) {
        fields.push_back(field);
    }
    return fields;
}

inline std::vector<Row> read(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::vector<std::string> columns;
    std::vector<Row> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) {
            continue;
        }
        if (line.starts_with('#')) {
            if (line.find('\t') != std::string::npos) {
                columns = split(line.substr(1), '\t');
            }
            continue;
        }
        const std::vector<std::string> fields = split(line, '\t');
        if (fields.size() != columns.size()) {
            std::string message = path;
            message.append(": a row of ").append(std::to_string(fields.size()));
            message.append(" fields under ").append(std::to_string(columns.size()));
            throw std::runtime_error(message.append(" columns: ").append(line));
        }
        Row named;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            named[columns[i]] = fields[i];
        }
        rows.push_back(named);
    }
    return rows;
}

// Twips to pixels at 96 dots per inch: 15 to a pixel.
inline int pixels(const std::string& twips) {
    return std::stoi(twips) / 15;
}

// Whether a row of the keys table holds on a face of `system` ("windows", "linux", "browser").
inline bool holdsOn(const Row& row, const std::string& system) {
    const std::string& on = row.at("on");
    return on == "any" || on == system || (on == "desktop" && system != "browser");
}

}  // namespace acceptance
