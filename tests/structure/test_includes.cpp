// Each source folder may include only the folders below it; a single include root would let an
// upward include compile, so every #include of src/ and sim/ is checked here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

using Table = std::map<std::string, std::set<std::string>>;

// The dependency table the build links by (`folder: folder folder ...`, '#' comments); a line
// that is not of that form is reported in *error.
Table readTable(std::istream &in, std::string *error)
{
    static const std::regex row(R"re(^([a-z_]+):([a-z_ ]*)$)re");
    Table table;
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        line = std::regex_replace(line, std::regex(R"(^\s+|\s+$)"), "");
        if (line.empty())
            continue;
        std::smatch m;
        if (!std::regex_match(line, m, row)) {
            *error = "not `folder: folder ...`: " + line;
            return {};
        }
        std::istringstream deps(m[2].str());
        auto &allowed = table[m[1].str()];
        for (std::string dep; deps >> dep;)
            allowed.insert(dep);
    }
    return table;
}

const Table &allowedIncludes()
{
    static const Table table = [] {
        std::ifstream in(ZOLM_DEPENDENCIES_FILE);
        EXPECT_TRUE(in.is_open()) << ZOLM_DEPENDENCIES_FILE;
        std::string error;
        Table t = readTable(in, &error);
        EXPECT_EQ(error, "") << ZOLM_DEPENDENCIES_FILE;
        return t;
    }();
    return table;
}

// The folder a quoted include names: "folder/x.h", or a bare name resolved next to the
// including file first and then in sim/ (whose headers are included bare).
std::string includedFolder(const std::string &include, const fs::path &file, const fs::path &root)
{
    const auto slash = include.find('/');
    if (slash != std::string::npos)
        return include.substr(0, slash);
    if (fs::exists(file.parent_path() / include))
        return file.parent_path().filename().string();
    if (fs::exists(root / "sim" / include))
        return "sim";
    return "?";
}

struct Violation {
    std::string file;
    std::string include;
};

std::vector<Violation> violations(const fs::path &root, const Table &allowed)
{
    static const std::regex includeLine(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Violation> found;
    std::vector<std::pair<std::string, fs::path>> folders;
    for (const auto &[folder, _] : allowed)
        folders.emplace_back(folder, folder == "sim" ? root / "sim" : root / "src" / folder);
    for (const auto &[folder, dir] : folders) {
        if (!fs::is_directory(dir))
            continue;
        for (const auto &entry : fs::recursive_directory_iterator(dir)) {
            const auto ext = entry.path().extension();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
                continue;
            std::ifstream in(entry.path());
            std::string line;
            std::smatch m;
            while (std::getline(in, line)) {
                if (!std::regex_search(line, m, includeLine))
                    continue;
                const std::string target = includedFolder(m[1], entry.path(), root);
                if (target != folder && !allowed.at(folder).contains(target))
                    found.push_back({fs::relative(entry.path(), root).string(), m[1]});
            }
        }
    }
    return found;
}

} // namespace

TEST(Structure, EveryIncludeStaysWithinItsFolderAndTheFoldersBelow)
{
    const fs::path root = ZOLM_SOURCE_DIR;
    ASSERT_TRUE(fs::is_directory(root / "src" / "survey")) << root;
    for (const auto &v : violations(root, allowedIncludes()))
        ADD_FAILURE() << v.file << " includes \"" << v.include << "\"";
}

// A folder without a line would go unchecked above (and unbuilt): every folder has one, and
// every folder a line names has a line of its own.
TEST(Structure, TheTableHasALineForEveryFolder)
{
    const auto &table = allowedIncludes();
    ASSERT_TRUE(table.contains("sim"));
    for (const auto &entry : fs::directory_iterator(fs::path(ZOLM_SOURCE_DIR) / "src")) {
        if (entry.is_directory()) {
            EXPECT_TRUE(table.contains(entry.path().filename().string())) << entry.path();
        }
    }
    for (const auto &[folder, deps] : table) {
        for (const auto &dep : deps)
            EXPECT_TRUE(table.contains(dep)) << folder << " names " << dep;
    }
}

TEST(Structure, AnUpwardIncludeIsFound)
{
    // A scratch tree with one lower folder reaching up, so the check itself is known to bite.
    const fs::path root = fs::temp_directory_path() / ("zolm-structure-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(root);
    fs::create_directories(root / "src" / "survey");
    fs::create_directories(root / "src" / "document");
    std::ofstream(root / "src" / "document" / "document.h") << "#pragma once\n";
    std::ofstream(root / "src" / "survey" / "a.h") << "#include \"survey/b.h\"\n#include \"platform/gbk.h\"\n";
    std::ofstream(root / "src" / "survey" / "b.cpp") << "  #  include \"document/document.h\"\n";
    std::istringstream text("# lower first\nplatform:\nsurvey: platform  \ndocument: survey platform # above\n");
    std::string error;
    const Table table = readTable(text, &error);
    const auto found = violations(root, table);
    fs::remove_all(root);
    EXPECT_EQ(error, "");
    EXPECT_EQ(table.at("document"), (std::set<std::string>{"survey", "platform"}));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].include, "document/document.h");

    std::istringstream bad("survey platform\n");
    EXPECT_TRUE(readTable(bad, &error).empty());
    EXPECT_NE(error, "");
}
