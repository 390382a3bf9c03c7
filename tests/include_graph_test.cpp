// The layering of the sources, checked by reading their includes: no folder includes one above
// it, in its core or in its qt part, the core includes neither the command line nor any toolkit
// code, and toolkit code never includes the command line.
#include "test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace pigmentaria {
namespace {

namespace fs = std::filesystem;

// Low to high; a file may include its own folder and those below it (a core file not their qt
// parts).
const std::map<std::string, int> Layers = {{"platform", 0}, {"model", 1},   {"palette", 2},
                                           {"image", 3},    {"convert", 4}, {"print", 5},
                                           {"editor", 6},   {"app", 7},     {"cli", 8}};

struct TInclude {
    std::string File;   // relative to the source folder
    std::string Target; // as written between the quotes, or <...> for a toolkit header
};

std::vector<TInclude> ReadIncludes(const fs::path& sourceFolder) {
    std::vector<TInclude> out;
    for (const auto& entry : fs::recursive_directory_iterator(sourceFolder)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        const std::string file = fs::relative(entry.path(), sourceFolder).generic_string();
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            const std::size_t at = line.find_first_not_of(" \t");
            if (at == std::string::npos || line.compare(at, 8, "#include") != 0) continue;
            const std::size_t open = line.find_first_of("\"<", at + 8);
            if (open == std::string::npos) continue;
            const char close = line[open] == '"' ? '"' : '>';
            const std::size_t end = line.find(close, open + 1);
            if (end == std::string::npos) continue;
            const std::string target = line.substr(open + 1, end - open - 1);
            out.push_back({file, close == '"' ? target : "<" + target + ">"});
        }
    }
    return out;
}

bool InQtFolder(const std::string& path) {
    return path.find("/qt/") != std::string::npos;
}
std::string TopFolder(const std::string& path) {
    return path.substr(0, path.find('/'));
}

// Every include that breaks the layering, as "file -> target".
std::vector<std::string> LayeringFaults(const fs::path& sourceFolder) {
    std::vector<std::string> faults;
    for (const TInclude& inc : ReadIncludes(sourceFolder)) {
        const std::string from = TopFolder(inc.File);
        const bool fromQt = InQtFolder(inc.File);
        const auto fromLayer = Layers.find(from);
        if (fromLayer == Layers.end()) continue; // files beside the folders
        const bool core = !fromQt && from != "cli";
        const std::string fault = inc.File + " -> " + inc.Target;
        if (inc.Target[0] == '<') {
            // Toolkit headers (<QImage>, <QtGui/...>) belong in qt folders only.
            if (core && inc.Target.size() > 2 && inc.Target[1] == 'Q') faults.push_back(fault);
            continue;
        }
        const auto toLayer = Layers.find(TopFolder(inc.Target));
        if (toLayer == Layers.end() || inc.Target.find('/') == std::string::npos) continue;
        if (toLayer->first == "cli" && from != "cli") {
            faults.push_back(fault);
        } else if (toLayer->second > fromLayer->second || (core && InQtFolder(inc.Target))) {
            faults.push_back(fault);
        }
    }
    return faults;
}

TEST(IncludeGraphTest, NoFolderIncludesOneAboveIt) {
    const fs::path src = PIGMENTARIA_SOURCE_DIR;
    ASSERT_TRUE(fs::exists(src / "editor" / "document.h"));
    const std::vector<TInclude> includes = ReadIncludes(src);
    EXPECT_GT(includes.size(), 200u);
    EXPECT_EQ(LayeringFaults(src), std::vector<std::string>{});
    // The arrows that once went the wrong way.
    for (const TInclude& inc : includes) {
        const std::string from = TopFolder(inc.File);
        if (from == "convert" || from == "model" || from == "image" || from == "palette" ||
            from == "print") {
            EXPECT_NE(TopFolder(inc.Target), "editor") << inc.File;
        }
    }
}

TEST(IncludeGraphTest, TheCheckFindsUpwardIncludes) {
    test::TTempDir dir;
    const auto write = [&](const std::string& file, const std::string& text) {
        fs::create_directories((dir.Path() / file).parent_path());
        test::WriteText(dir.Path() / file, text);
    };
    write("model/shape.h", "#include \"platform/color.h\"\n#include <vector>\n");
    write("print/numbers.h", "#include \"palette/palette.h\"\n  #include \"editor/document.h\"\n");
    write("convert/tracer.cpp", "#include \"convert/tracer.h\"\n#include \"cli/terminal.h\"\n");
    write("image/filters.cpp", "#include <QImage>\n");
    write("editor/document.cpp", "#include \"print/qt/qt_printer.h\"\n");
    write("print/qt/printer.cpp", "#include \"editor/document.h\"\n#include <QPainter>\n");
    write("editor/qt/main_window.cpp", "#include \"cli/terminal.h\"\n");
    write("convert/qt/import_form.h",
          "#include \"convert/qt/zoom.h\"\n#include \"app/qt/jobs.h\"\n");
    write("cli/main.cpp", "#include \"print/qt/qt_printer.h\"\n#include \"app/app_state.h\"\n");
    std::vector<std::string> faults = LayeringFaults(dir.Path());
    std::sort(faults.begin(), faults.end());
    EXPECT_EQ(faults, (std::vector<std::string>{"convert/qt/import_form.h -> app/qt/jobs.h",
                                                "convert/tracer.cpp -> cli/terminal.h",
                                                "editor/document.cpp -> print/qt/qt_printer.h",
                                                "editor/qt/main_window.cpp -> cli/terminal.h",
                                                "image/filters.cpp -> <QImage>",
                                                "print/numbers.h -> editor/document.h",
                                                "print/qt/printer.cpp -> editor/document.h"}));
}

} // namespace
} // namespace pigmentaria
