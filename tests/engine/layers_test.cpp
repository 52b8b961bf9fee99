// The layers as the sources include them: the engine folders know no Qt, and
// no file includes a layer above its own. From the bottom: platform,
// highlighters, editor, print, the Qt side of the platform layer (app/qt),
// the main window (app). The uploads (platform/upload) sit on platform alone;
// ostrel-cli may use the engine, the uploads and the Qt side, never app/.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class Layer { platform, upload, highlighters, editor, print, qt, app, cli };

const char* NameOf(Layer layer)
{
    switch (layer) {
    case Layer::platform: return "platform/";
    case Layer::upload: return "platform/upload/";
    case Layer::highlighters: return "highlighters/";
    case Layer::editor: return "editor/";
    case Layer::print: return "print/";
    case Layer::qt: return "app/qt/";
    case Layer::app: return "app/";
    case Layer::cli: return "cli/";
    }
    return "?";
}

// The layer of a path relative to the source root; none for tests, benchmarks
// and anything else outside the layers.
std::optional<Layer> LayerOf(const std::string& path)
{
    const std::pair<const char*, Layer> prefixes[] = {
        {"platform/upload/", Layer::upload}, {"platform/", Layer::platform},
        {"highlighters/", Layer::highlighters}, {"editor/", Layer::editor},
        {"print/", Layer::print}, {"app/qt/", Layer::qt},
        {"app/", Layer::app}, {"cli/", Layer::cli}};
    for (const auto& [prefix, layer] : prefixes)
        if (path.starts_with(prefix))
            return layer;
    return std::nullopt;
}

bool IsEngine(Layer layer)
{
    return layer == Layer::platform || layer == Layer::upload || layer == Layer::highlighters ||
           layer == Layer::editor || layer == Layer::print;
}

// What a file of the layer may include.
bool MayInclude(Layer from, Layer to)
{
    using enum Layer;
    const auto engineUpTo = [&](Layer top) {
        const Layer order[] = {platform, highlighters, editor, print};
        for (Layer l : order) {
            if (l == to)
                return true;
            if (l == top)
                break;
        }
        return false;
    };
    switch (from) {
    case platform:
    case highlighters:
    case editor:
    case print: return engineUpTo(from);
    case upload: return to == platform || to == upload;
    case qt: return engineUpTo(print) || to == qt;
    case app: return to != cli;
    case cli: return to != app;
    }
    return false;
}

bool IsQtHeader(const std::string& header)
{
    static const std::regex qt(R"(^(Q[A-Z]\w*|Qt\w*(/.*)?|q\w+\.h)$)");
    return std::regex_match(header, qt);
}

struct Include {
    std::string header;  // as written between the quotes or brackets
    bool quoted = false;
    int line = 0;
};

std::vector<Include> IncludesOf(std::istream& source)
{
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> includes;
    std::string text;
    for (int line = 1; std::getline(source, text); ++line) {
        std::smatch m;
        if (std::regex_search(text, m, include))
            includes.push_back({m[2].str(), m[1].str() == "\"", line});
    }
    return includes;
}

// The faults of one file (path relative to the root), one line each.
std::vector<std::string> FaultsOf(const std::string& path, std::istream& source, const fs::path& root)
{
    std::vector<std::string> faults;
    const std::optional<Layer> own = LayerOf(path);
    if (!own)
        return faults;
    const fs::path folder = fs::path(path).parent_path();
    for (const Include& inc : IncludesOf(source)) {
        const std::string where = path + ":" + std::to_string(inc.line) + ": ";
        if (IsEngine(*own) && IsQtHeader(inc.header))
            faults.push_back(where + "the engine includes the Qt header <" + inc.header + ">");
        if (!inc.quoted)
            continue;
        // A header beside the file is found first, as the compiler finds it.
        const bool beside = !root.empty() && fs::exists(root / folder / inc.header);
        const std::string target = beside ? (folder / inc.header).lexically_normal().string() : inc.header;
        const std::optional<Layer> theirs = LayerOf(target);
        if (theirs && !MayInclude(*own, *theirs))
            faults.push_back(where + NameOf(*own) + " includes \"" + inc.header + "\" of " + NameOf(*theirs));
    }
    return faults;
}

std::vector<std::string> FaultsOfText(const std::string& path, const std::string& text)
{
    std::istringstream in(text);
    return FaultsOf(path, in, {});
}

std::vector<std::string> FaultsOfTree(const fs::path& root, size_t& filesRead)
{
    std::vector<std::string> faults;
    filesRead = 0;
    for (const char* top : {"platform", "highlighters", "editor", "print", "app", "cli"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
                continue;
            std::ifstream in(entry.path());
            const std::string path = fs::relative(entry.path(), root).generic_string();
            for (std::string& fault : FaultsOf(path, in, root))
                faults.push_back(std::move(fault));
            ++filesRead;
        }
    }
    return faults;
}

}  // namespace

TEST(LayerRules, TheSourceTreeKeepsItsLayers)
{
    size_t filesRead = 0;
    const std::vector<std::string> faults = FaultsOfTree(OSTREL_SOURCE_DIR, filesRead);
    EXPECT_GT(filesRead, 200u) << "the tree was not found at " << OSTREL_SOURCE_DIR;
    std::string all;
    for (const std::string& fault : faults)
        all += fault + "\n";
    EXPECT_TRUE(faults.empty()) << faults.size() << " include(s) break the layers:\n" << all;
}

TEST(LayerRules, QtHeadersAreFoundInTheEngineOnly)
{
    for (const char* header : {"QString", "QtGui/QFont", "qglobal.h", "QtCore"}) {
        const std::string text = std::string("#include <") + header + ">\n";
        EXPECT_EQ(FaultsOfText("editor/OstEdit.cpp", text).size(), 1u) << header;
        EXPECT_EQ(FaultsOfText("platform/upload/Curl.cpp", text).size(), 1u) << header;
        EXPECT_TRUE(FaultsOfText("app/Mein.cpp", text).empty()) << header;
        EXPECT_TRUE(FaultsOfText("cli/CliPrint.cpp", text).empty()) << header;
    }
    EXPECT_TRUE(FaultsOfText("print/OstEditPrint.cpp", "#include <queue>\n#include <string>\n").empty());
    EXPECT_EQ(FaultsOfText("highlighters/X.h", "  #  include <QObject>  // why\n").size(), 1u);
}

TEST(LayerRules, NoLayerIncludesOneAboveIt)
{
    const auto faults = [](const char* file, const char* header) {
        return FaultsOfText(file, std::string("#include \"") + header + "\"\n").size();
    };
    EXPECT_EQ(faults("platform/Canvas.h", "highlighters/OstEditHighlighter.h"), 1u);
    EXPECT_EQ(faults("highlighters/OstHighlighterCSS.cpp", "editor/OstEdit.h"), 1u);
    EXPECT_EQ(faults("editor/OstEdit.cpp", "print/OstEditPrint.h"), 1u);
    EXPECT_EQ(faults("print/OstEditPrint.cpp", "app/qt/QtCanvas.h"), 1u);
    EXPECT_EQ(faults("app/qt/QtCanvas.cpp", "app/Mein.h"), 1u) << "the Qt side knows no main window";
    EXPECT_EQ(faults("cli/CliPrint.cpp", "app/HighlighterSet.h"), 1u);
    EXPECT_EQ(faults("editor/OstEdit.cpp", "platform/upload/UploadRequest.h"), 1u);
    EXPECT_EQ(faults("platform/upload/Curl.cpp", "editor/OstEdit.h"), 1u);
    EXPECT_EQ(faults("app/Mein.cpp", "cli/CliCommand.h"), 1u);

    EXPECT_EQ(faults("print/OstEditPrint.cpp", "platform/Canvas.h"), 0u);
    EXPECT_EQ(faults("print/OstEditPrint.cpp", "editor/OstEdit.h"), 0u);
    EXPECT_EQ(faults("editor/OstEdit.cpp", "highlighters/OstEditHighlighter.h"), 0u);
    EXPECT_EQ(faults("app/qt/QtCanvas.cpp", "print/OstEditPrint.h"), 0u);
    EXPECT_EQ(faults("app/Mein.cpp", "app/qt/QtCanvas.h"), 0u);
    EXPECT_EQ(faults("app/Mein.cpp", "platform/upload/UploadRequest.h"), 0u);
    EXPECT_EQ(faults("cli/CliPrint.cpp", "app/qt/QtPrinter.h"), 0u);
    EXPECT_EQ(faults("cli/CliFtp.cpp", "platform/upload/UploadRequest.h"), 0u);
    EXPECT_EQ(faults("tests/app/x_test.cpp", "app/Mein.h"), 0u) << "tests stand outside the layers";
    EXPECT_EQ(faults("editor/OstEdit.cpp", "OstEditTypes.h"), 0u);
}

TEST(LayerRules, AHeaderBesideTheFileBelongsToTheFilesFolder)
{
    const fs::path root = OSTREL_SOURCE_DIR;
    std::istringstream besidePrint("#include \"OstEditPrint.h\"\n");
    EXPECT_EQ(FaultsOf("editor/OstEdit.cpp", besidePrint, root).size(), 0u) << "no such header beside editor/";
    std::istringstream upward("#include \"../print/OstEditPrint.h\"\n");
    EXPECT_EQ(FaultsOf("editor/OstEdit.cpp", upward, root).size(), 1u) << "a relative path is followed";
}
