// make_level_seeds <folder>: writes the seeds of the level fuzzers into folder/level_seeds and
// folder/svg_seeds: every shipped arena's level file with its outline drawing, and the malformed
// rows the level tests read (numbers that are not finite, outlines Box2D cannot take, broken files).
#include "fuzz/SeedWriter.h"
#include "tests/support/TempDir.h"
#include "tools/levels/Arena.h"
#include "tools/levels/ArenaWriter.h"
#include "tools/levels/Decorations.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Seeds = std::vector<std::pair<std::string, std::string>>;

// The first byte of a level seed: the windmill variant of the level, or the plain one.
const std::string kWindmill(1, '\1');
const std::string kPlain(1, '\0');

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// A level of one body with the fixtures' vertex lists (each "x,y x,y ...") and the outline drawing.
std::string OneBody(const std::string& attributes, const std::vector<std::string>& fixtures, const std::string& svg,
                    const std::string& more = "") {
    std::string level =
        "<resource><level name=\"data\"><array name=\"m_Bodies\"><body m_SVGFile=\"data/levels/test.svg\" " +
        attributes + "><array name=\"m_Fixtures\">";
    for (const std::string& fixture : fixtures) {
        level += "<fixture><array name=\"m_Vertices\">";
        std::istringstream points(fixture);
        std::string point;
        while (points >> point) {
            const size_t comma = point.find(',');
            level += "<vec2 x=\"" + point.substr(0, comma) + "\" y=\"" + point.substr(comma + 1) + "\"/>";
        }
        level += "</array></fixture>";
    }
    level +=
        "</array>" + more + "</body></array><array name=\"m_Balls\"><vec2 x=\"0\" y=\"0\"/></array></level></resource>";
    return level + "\n--svg--\n" + svg;
}

std::string Svg(const std::string& paths, const std::string& size = "800") {
    return "<svg width=\"" + size + "\" height=\"600\"><g transform=\"translate(4,4)\">" + paths + "</g></svg>";
}

std::string LongPath(int points) {
    std::string d = "M";
    for (int i = 0; i < points; ++i) {
        d += " " + std::to_string(400 + 300 * ((i * 7919) % 13) / 13) + "," + std::to_string(100 + i % 400);
    }
    return "<path d=\"" + d + " z\"/>";
}

// A closed 256-point ring of the radius (drawing pixels) about the drawing's middle.
std::string RingPath(int radius) {
    std::string d = "M";
    for (int i = 0; i < 256; ++i) {
        const double a = 6.283185307179586 * i / 256;
        d += " " + std::to_string(static_cast<int>(400 + radius * std::cos(a))) + "," +
             std::to_string(static_cast<int>(300 + radius * std::sin(a)));
    }
    return "<path d=\"" + d + " z\"/>";
}

Seeds LevelSeeds(const std::vector<Arena>& arenas, const std::filesystem::path& written) {
    Seeds seeds;
    for (const Arena& arena : arenas) {
        const std::string level =
            Replaced(Read(written / LevelFile(arena)), "data/levels/" + arena.name + ".svg", "data/levels/test.svg");
        const std::string svg = Read(written / ("data/levels/" + arena.name + ".svg"));
        seeds.emplace_back(arena.name, (arena.name == "1_nanomill" ? kWindmill : kPlain) + level + "\n--svg--\n" + svg);
    }
    const std::string box = "-1,-1 1,-1 1,1 -1,1";
    seeds.emplace_back("not_finite",
                       kWindmill + OneBody("m_Name=\"windmill\" m_Density=\"nan\" m_Rotation=\"inf\"",
                                           {"nan,0 inf,-inf 1,1 0,1", box}, Svg("<path d=\"M nan,0 10,inf 20,20 z\"/>"),
                                           "<vec2 name=\"m_Position\" x=\"1e39\" y=\"-nan\"/>"));
    seeds.emplace_back("bad_polygons",
                       kPlain + OneBody("m_Density=\"2\"", {"0,0 4,4 4,0 0,4", "0,0 1,1 2,2", "2,2 2,2 2,2", "0,0 1,0"},
                                        Svg(LongPath(300) + LongPath(40))));
    seeds.emplace_back("far_speck", kPlain + OneBody("m_Density=\"1e30\"", {"999,999 999.02,999 999,999.02"}, Svg("")));
    seeds.emplace_back(
        "joints", kWindmill + OneBody("m_Name=\"windmill\" m_Density=\"0\"", {box}, Svg(""),
                                      "<array name=\"m_Joints\"><joint m_Type=\"revolutespring\" m_Param1=\"inf\" "
                                      "m_Param2=\"-5\"/><joint m_Type=\"revolute\"/><joint m_Type=\"weld\"/></array>"));
    seeds.emplace_back("arcs", kPlain + OneBody("", {},
                                                Svg("<path sodipodi:type=\"arc\" sodipodi:rx=\"-4\"/>"
                                                    "<path sodipodi:type=\"arc\" sodipodi:cx=\"400\" "
                                                    "sodipodi:cy=\"300\" sodipodi:rx=\"1e30\"/>"
                                                    "<path sodipodi:type=\"star\" d=\"M 0,0 1,1 z\"/>",
                                                    "99999999999999999999")));
    // Past the level limits: balls piled on one point, overlapping outlines around a ball, bodies
    // enough to pass every limit, all naming one drawing, and a moving body that starts inside a
    // fixed one.
    std::string piled = "<resource><level name=\"data\"><array name=\"m_Balls\">";
    for (int i = 0; i < 3000; ++i) {
        piled += "<vec2/>";
    }
    seeds.emplace_back("hostile_piled_balls", kPlain + piled + "</array></level></resource>");
    std::string rings;
    for (int i = 0; i < 24; ++i) {
        rings += RingPath(100 + i);
    }
    seeds.emplace_back("hostile_overlapping_outlines", kPlain + OneBody("m_Density=\"0\"", {}, Svg(rings)));
    std::string bodies = "<resource><level name=\"data\"><array name=\"m_Bodies\">";
    for (int i = 0; i < 40; ++i) {
        bodies += "<body m_SVGFile=\"data/levels/test.svg\" m_Density=\"0\"/>";
    }
    seeds.emplace_back("hostile_shared_drawing", kWindmill + bodies + "</array></level></resource>\n--svg--\n" +
                                                     Svg(RingPath(60) + RingPath(90)));
    seeds.emplace_back("hostile_jammed_body",
                       kPlain +
                           "<resource><level name=\"data\"><array name=\"m_Bodies\"><body m_SVGFile=\"data/"
                           "levels/test.svg\" m_Density=\"0\"/><body m_SVGFile=\"data/levels/test.svg\"/>"
                           "</array></level></resource>\n--svg--\n" +
                           Svg(RingPath(60) + RingPath(90)));
    seeds.emplace_back("no_data", kPlain + "<resource><level name=\"other\"/></resource>");
    seeds.emplace_back("truncated", kPlain + "<resource><level name=\"data\"><array name=\"m_Bodies\"><body");
    return seeds;
}

Seeds SvgSeeds(const std::vector<Arena>& arenas, const std::filesystem::path& written) {
    Seeds seeds;
    for (const Arena& arena : arenas) {
        seeds.emplace_back(arena.name, Read(written / ("data/levels/" + arena.name + ".svg")));
    }
    seeds.emplace_back("path_data", "M 0,0 8,0 L 8,8 16,16 z");
    seeds.emplace_back("matrix", "matrix(2,0,0,2,10,20)");
    seeds.emplace_back("translate", "rotate(3) translate(5,-6e2)");
    seeds.emplace_back("long_path", Svg(LongPath(300)));
    seeds.emplace_back("nested",
                       "<svg width=\"16\" height=\"16\"><path d=\"M 0,0 8,0 8,8 z\"/><g><g><path d=\"M 0,0 "
                       "8,0 8,8 z\"/></g><path style=\"fill:#00ff00\" d=\"M 0,0 8,0 8,8 0,8 z\"/></g></svg>");
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_level_seeds <folder>\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    const std::vector<Arena> arenas = ShippedArenas();
    const std::vector<DecorationMovie> decorations = DecorationMovies();
    testing_support::TempDir written;
    for (const Arena& arena : arenas) {
        if (!WriteArena(arena, written / "data", decorations, ArenaPicture(arena, decorations))) {
            std::fprintf(stderr, "make_level_seeds: cannot write %s\n", arena.name.c_str());
            return 1;
        }
    }
    return fuzz_support::write_seeds("make_level_seeds", folder / "level_seeds", LevelSeeds(arenas, written.Path())) |
           fuzz_support::write_seeds("make_level_seeds", folder / "svg_seeds", SvgSeeds(arenas, written.Path()));
}
