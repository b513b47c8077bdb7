// Turns a window's plain list of translatable properties into a C++ source holding its
// language data as a byte array in the stored layout.
//
// The list has one "ID<TAB>Component<TAB>Property" per line (UTF-8; empty lines and lines
// starting with "#" are skipped). Component is a path from the window down, names joined by
// "/": "MainForm" is the window itself, "MainForm/ExitButton" a control it owns. Every path
// starts with the same root. IDs are positive and unique within the window.
//
// Stored layout, recursive, integers little-endian: name (16-bit byte count, UTF-8), a byte
// saying whether property entries follow, [count (32 bits), per entry ID (32 bits) and name
// path (16-bit byte count, UTF-8)], a byte saying whether children follow, [count (32 bits),
// the children in this same layout]. Property entries are sorted by name path with ASCII
// letters folded; children keep the order of their first line.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Prop {
    std::uint32_t id;
    std::string name;
};

struct Node {
    std::string name;
    std::vector<Prop> props;
    std::vector<Node> children;

    Node& Child(const std::string& childName) {
        for (auto& c : children)
            if (c.name == childName) return c;
        children.push_back(Node{childName, {}, {}});
        return children.back();
    }
};

std::string Folded(const std::string& s) {
    std::string out = s;
    for (auto& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return out;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at - start));
        if (at == std::string::npos) return parts;
        start = at + 1;
    }
}

void PutU16(std::vector<std::uint8_t>& out, std::size_t v) {
    out.push_back(std::uint8_t(v & 0xFF));
    out.push_back(std::uint8_t((v >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t((v >> shift) & 0xFF));
}

void PutText(std::vector<std::uint8_t>& out, const std::string& s) {
    PutU16(out, s.size());
    out.insert(out.end(), s.begin(), s.end());
}

void Put(std::vector<std::uint8_t>& out, Node& node) {
    PutText(out, node.name);
    std::stable_sort(node.props.begin(), node.props.end(),
                     [](const Prop& a, const Prop& b) { return Folded(a.name) < Folded(b.name); });
    out.push_back(node.props.empty() ? 0 : 1);
    if (!node.props.empty()) {
        PutU32(out, std::uint32_t(node.props.size()));
        for (const auto& p : node.props) {
            PutU32(out, p.id);
            PutText(out, p.name);
        }
    }
    out.push_back(node.children.empty() ? 0 : 1);
    if (!node.children.empty()) {
        PutU32(out, std::uint32_t(node.children.size()));
        for (auto& c : node.children) Put(out, c);
    }
}

int Fail(const std::string& where, const std::string& why) {
    std::cerr << where << ": " << why << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: lang_data_gen LIST.txt OUTPUT.cpp FUNCTION\n";
        return 2;
    }
    const std::string input = argv[1], output = argv[2], function = argv[3];
    std::ifstream in(input, std::ios::binary);
    if (!in) return Fail(input, "cannot open");

    Node root;
    std::set<std::uint32_t> ids;
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::string where = input + ":" + std::to_string(lineNo);
        const auto fields = Split(line, '\t');
        if (fields.size() != 3 || fields[1].empty() || fields[2].empty())
            return Fail(where, "expected ID<TAB>Component<TAB>Property");
        std::uint32_t id = 0;
        try {
            std::size_t used = 0;
            const unsigned long v = std::stoul(fields[0], &used);
            if (used != fields[0].size() || v == 0 || v > 0x7FFFFFFF) throw std::out_of_range("id");
            id = std::uint32_t(v);
        } catch (const std::exception&) {
            return Fail(where, "the ID must be a positive number");
        }
        if (!ids.insert(id).second) return Fail(where, "ID " + fields[0] + " given twice");
        const auto path = Split(fields[1], '/');
        if (root.name.empty()) root.name = path[0];
        if (path[0] != root.name) return Fail(where, "every component path starts at " + root.name);
        Node* node = &root;
        for (std::size_t i = 1; i < path.size(); ++i) {
            if (path[i].empty()) return Fail(where, "empty component name");
            node = &node->Child(path[i]);
        }
        node->props.push_back(Prop{id, fields[2]});
    }
    if (root.name.empty()) return Fail(input, "no entries");

    std::vector<std::uint8_t> data;
    Put(data, root);

    std::ostringstream src;
    src << "// Generated by lang_data_gen from " << input.substr(input.find_last_of('/') + 1)
        << "; edit that list, not this file.\n"
           "#include \"i18n/LangData.h\"\n\n"
           "namespace vantrel {\n\nnamespace {\n\nconstexpr std::uint8_t Data[] = {";
    for (std::size_t i = 0; i < data.size(); ++i) src << (i % 16 == 0 ? "\n    " : " ") << unsigned(data[i]) << ',';
    src << "\n};\n\n}  // namespace\n\n"
        << "std::span<const std::uint8_t> " << function << "() { return Data; }\n\n"
        << "}  // namespace vantrel\n";

    // Written beside and renamed, so that an interrupted build never leaves half a source.
    const std::string temp = output + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << src.str();
        if (!out.flush()) return Fail(temp, "cannot write");
    }
    if (std::rename(temp.c_str(), output.c_str()) != 0) return Fail(output, "cannot replace");
    return 0;
}
