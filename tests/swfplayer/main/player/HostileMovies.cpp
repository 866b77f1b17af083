#include "tests/swfplayer/main/player/HostileMovies.h"

#include "swfplayer/main/common/swf_tag.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <cstdint>

namespace hostile_movies {

namespace {

swfkit::Movie Stage(double frame_rate) {
    return swfkit::Movie(8, {0, 16000, 0, 12000}, frame_rate);
}

// name = name + name, times times over: a text of 2^times copies of what name held.
std::string Double(const std::string& name, int times) {
    return Loop("k", times, "'" + name + "' '" + name + "' get_var '" + name + "' get_var add_t set_var");
}

// A push of count copies of the value, in the assembler's text.
std::string Repeat(const std::string& value, int count) {
    std::string text;
    for (int i = 0; i < count; i++) {
        text += value + " ";
    }
    return text;
}

void PutU16(swfkit::Bytes* out, int value) {
    out->push_back(static_cast<uint8_t>(value));
    out->push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

std::string Loop(const std::string& var, int count, const std::string& body) {
    static int s_loops = 0;
    const std::string top = "top" + std::to_string(++s_loops);
    const std::string end = "end" + std::to_string(s_loops);
    return "'" + var + "' 0 set_var @" + top + " '" + var + "' get_var " + std::to_string(count) + " lt not if:" + end +
           " " + body + " '" + var + "' '" + var + "' get_var inc set_var jump:" + top + " @" + end + " ";
}

swfkit::Bytes ScriptMovie(const std::string& script, double frame_rate, int frames) {
    swfkit::Movie movie = Stage(frame_rate);
    movie.Tags().DoAction(swfkit::assemble(script).bytes());
    for (int frame = 0; frame < frames; frame++) {
        movie.Tags().ShowFrame();
    }
    return movie.Write(false);
}

swfkit::Bytes SplitAndPush() {
    return ScriptMovie("'s' 'x' set_var " + Double("s", 17) + "'a' '' 1 's' get_var 'split' call_method set_var " +
                       "'b' 0 'Array' new set_var " +
                       Loop("i", 200000, "'i' get_var 1 'b' get_var 'push' call_method pop"));
}

swfkit::Bytes CharAtOfRegister() {
    return ScriptMovie("'s' 'x' set_var " + Double("s", 23) + "'s' get_var store:1 pop 's' 0 set_var " +
                       Loop("i", 100, "'c' 5 1 r1 'charAt' call_method set_var") +
                       "@forever 5 1 r1 'charAt' call_method pop jump:forever");
}

swfkit::Bytes ManyChildren() {
    return ScriptMovie(
        Loop("i", 19000, "'i' get_var 'c' 'i' get_var add_t 2 '_root' get_var 'createEmptyMovieClip' call_method pop") +
        Loop("j", 40000, "'x' '_root' get_var 'absent' get_member set_var"));
}

swfkit::Bytes SelfAttachingClass() {
    swfkit::Movie movie = Stage(12.0);
    swfkit::TagList symbol(8);
    symbol.ShowFrame();
    const std::string n = "'_global' get_var 'n' get_member ";
    const std::string attach = "'_global' get_var 'n' " + n + "1 add set_member " + n + "'s' " + n +
                               "add_t 'sym' 3 '_root' get_var 'attachMovie' call_method pop ";
    const std::string constructor = "fn:C() { " + attach + attach + "} ";
    const std::string script = "'_global' get_var 'n' 0 set_member " + constructor +
                               "'C' get_var 'sym' 2 'Object' get_var 'registerClass' call_method pop "
                               "0 'first' 'sym' 3 '_root' get_var 'attachMovie' call_method pop";
    movie.Tags()
        .DefineSprite(1, symbol)
        .ExportAssets({{1, "sym"}})
        .DoAction(swfkit::assemble(script).bytes())
        .ShowFrame();
    return movie.Write(false);
}

swfkit::Bytes EndlessLoops() {
    swfkit::Movie movie = Stage(30.0);
    for (int frame = 0; frame < 2; frame++) {
        movie.Tags().DoAction(swfkit::assemble("@forever jump:forever").bytes()).ShowFrame();
    }
    return movie.Write(false);
}

swfkit::Bytes EndlessTimers(int count, double frame_rate) {
    return ScriptMovie(Loop("i", count, "0 fn:() { @spin jump:spin } 2 'setInterval' call_func pop"), frame_rate, 2);
}

swfkit::Bytes Cycles() {
    const std::string pad = "'pad' '" + std::string(10000, 'p') + "' set_member ";
    const std::string make =
        "fn:make() { 'a' 0 decl_obj set_local 'a' get_var 'self' 'a' get_var set_member 'a' get_var " + pad +
        "'b' 0 decl_array set_local 'b' get_var 1 'b' get_var 'push' call_method pop " + "'b' get_var " + pad +
        "'g' fn:() { } set_local 'g' get_var 'self' 'g' get_var set_member " + "'g' get_var " + pad + "} ";
    const std::string count =
        "'runs' get_var type_of 'number' str_eq if:counting 'runs' 0 set_var @counting "
        "'runs' 'runs' get_var inc set_var";
    return ScriptMovie(make + Loop("i", 100, "0 'make' call_func pop") + count, 12.0, 2);
}

swfkit::Bytes Rebroadcasts() {
    const std::string message = Repeat("1", 100) + "'m' 101 'b' get_var 'broadcastMessage' call_method pop ";
    const std::string handler =
        "fn:() { '_global' get_var 'd' '_global' get_var 'd' get_member 1 add set_member " + message + "} ";
    // The listener list holds its listeners weakly: the array "all" keeps them.
    return ScriptMovie(
        "'_global' get_var 'd' 0 set_member 'b' 0 decl_obj set_var 'all' 0 decl_array set_var "
        "'b' get_var 1 'AsBroadcaster' get_var 'initialize' call_method pop " +
        Loop("i", 300,
             "'l' 0 decl_obj set_var 'l' get_var 'm' " + handler +
                 "set_member 'l' get_var 1 'b' get_var 'addListener' call_method pop "
                 "'l' get_var 1 'all' get_var 'push' call_method pop 'l' 0 set_var") +
        message);
}

swfkit::Bytes UnknownClasses(int count) {
    return ScriptMovie(Loop("i", count, "0 'm' 'i' get_var add_t new pop"));
}

swfkit::Bytes LongTextField() {
    return ScriptMovie("100 100 0 0 1 'f' 6 '_root' get_var 'createTextField' call_method pop 's' 'x' set_var " +
                       Double("s", 22) +
                       "'f' get_var 'text' 's' get_var set_member "
                       "'n' 'f' get_var 'text' get_member 'length' get_member set_var");
}

swfkit::Bytes HugeJoin(bool concatenate) {
    const std::string inner = "'s' 'x' set_var " + Double("s", 20) + "'inner' 0 'Array' new set_var " +
                              Loop("i", 16, "'s' get_var 1 'inner' get_var 'push' call_method pop");
    if (concatenate) {
        return ScriptMovie(inner + "'u' " + Repeat("'inner' get_var", 256) +
                           "256 's' get_var 'concat' call_method set_var 'after' 1 set_var");
    }
    return ScriptMovie(inner + "'b' 0 'Array' new set_var " +
                       Loop("j", 256, "'inner' get_var 1 'b' get_var 'push' call_method pop") +
                       "'t' 0 'b' get_var 'toString' call_method set_var 'after' 1 set_var");
}

namespace {

// Global register 1 = 8 bytes doubled 20 times: 8 MB.
const std::string kRegisterString = "'xxxxxxxx' store:1 pop " + Repeat("r1 r1 add_t store:1 pop", 20);

}  // namespace

swfkit::Bytes RegisterStringPushes() {
    return ScriptMovie(kRegisterString + "0 store:2 pop " + Repeat("r1", 300) +
                       "@next r1 equ not if:done r2 inc store:2 pop r2 300 lt if:next @done "
                       "'count' r2 set_var 'n' r1 str_len set_var");
}

swfkit::Bytes KeptConcatenations() {
    return ScriptMovie(kRegisterString + Repeat("r1 r1 add_t", 20) + "'after' 1 set_var");
}

swfkit::Bytes FontClaimingGigabytes() {
    // DefineFont3: no layout, narrow offsets and codes, the name "f", 330 glyphs that all share
    // one outline whose style change asks for 65,535 new fill styles that the file does not hold.
    constexpr int glyphs = 330;
    swfkit::Bytes body = {0, 0};  // font id
    body.insert(body.end(), {0x00, 0x00, 1, 'f'});
    PutU16(&body, glyphs);
    const int outline = (glyphs + 1) * 2;
    for (int i = 0; i <= glyphs; i++) {
        PutU16(&body, outline);
    }
    body.insert(body.end(), {0x11, 0x40, 0xFF, 0xFF, 0xFF});
    swfkit::Movie movie = Stage(12.0);
    movie.Tags().RawTag(swfplayer::tag_define_font3, 2400000000u, body).ShowFrame();
    return movie.Write(false);
}

swfkit::Bytes SoundClaimingGigabytes() {
    // DefineSound: ADPCM, 44 kHz, 16 bits, stereo, 2^31 - 1 samples, 14 bytes of data.
    swfkit::Bytes body = {1, 0, 0x1F, 0xFF, 0xFF, 0xFF, 0x7F};
    body.insert(body.end(), 14, 0x5A);
    swfkit::Movie movie(8, {0, 0, 0, 0}, 12.0);
    movie.Tags().RawTag(swfplayer::tag_define_sound, 2000000000u, body);
    return movie.Write(false);
}

std::vector<std::pair<std::string, swfkit::Bytes>> All() {
    return {
        {"hostile_split_and_push.swf", SplitAndPush()},
        {"hostile_char_at_of_register.swf", CharAtOfRegister()},
        {"hostile_many_children.swf", ManyChildren()},
        {"hostile_self_attaching_class.swf", SelfAttachingClass()},
        {"hostile_endless_timers.swf", EndlessTimers(10)},
        {"hostile_slow_endless_timer.swf", EndlessTimers(1, 1.0 / 256.0)},
        {"hostile_cycles.swf", Cycles()},
        {"hostile_rebroadcasts.swf", Rebroadcasts()},
        {"hostile_unknown_classes.swf", UnknownClasses(1000)},
        {"hostile_long_text_field.swf", LongTextField()},
        {"hostile_huge_join.swf", HugeJoin(false)},
        {"hostile_huge_concat.swf", HugeJoin(true)},
        {"hostile_register_string_pushes.swf", RegisterStringPushes()},
        {"hostile_kept_concatenations.swf", KeptConcatenations()},
        {"hostile_font_claiming_gigabytes.swf", FontClaimingGigabytes()},
        {"hostile_sound_claiming_gigabytes.swf", SoundClaimingGigabytes()},
    };
}

}  // namespace hostile_movies
