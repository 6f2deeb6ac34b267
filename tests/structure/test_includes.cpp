// Each source folder may include only the folders below it; a single include root would let an
// upward include compile, so every #include of src/ and sim/ is checked here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::set<std::string>> &allowedIncludes()
{
    static const std::set<std::string> core = {"platform", "survey", "conversion", "document",
                                               "table", "probe", "analysis", "output"};
    static const std::map<std::string, std::set<std::string>> allowed = [] {
        std::map<std::string, std::set<std::string>> m;
        m["platform"] = {};
        m["survey"] = {"platform"};
        m["conversion"] = {"survey", "platform"};
        m["document"] = {"conversion", "survey", "platform"};
        m["table"] = {"document", "survey", "platform"};
        m["probe"] = {"conversion", "survey", "platform"};
        m["analysis"] = {"document", "survey", "platform"};
        m["output"] = {"table", "analysis", "document", "survey", "platform"};
        m["sim"] = {"probe", "analysis", "document", "conversion", "survey", "platform"};
        std::set<std::string> top = core;
        top.insert("sim");
        m["app"] = top;
        m["cli"] = top;
        return m;
    }();
    return allowed;
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

std::vector<Violation> violations(const fs::path &root)
{
    static const std::regex includeLine(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<Violation> found;
    const auto &allowed = allowedIncludes();
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
    for (const auto &v : violations(root))
        ADD_FAILURE() << v.file << " includes \"" << v.include << "\"";
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
    const auto found = violations(root);
    fs::remove_all(root);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].include, "document/document.h");
}
