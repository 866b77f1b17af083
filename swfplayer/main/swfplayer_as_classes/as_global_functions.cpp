#include "swfplayer/main/swfplayer_as_classes/as_global_functions.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/script/static_names.h"

#include <vector>

namespace swfplayer {

namespace {

// The three member flag bits that script may change.
constexpr int member_flag_mask = AS_DONT_ENUM | AS_DONT_DELETE | AS_READ_ONLY;
// Instructions one member costs the flag change: its name collected, then looked up again.
constexpr int64_t member_flag_cost = 16;

// The SWF version of the player's root movie; 0 when there is none.
int root_movie_version(const fn_call& fn) {
    player* owner = fn.get_player();
    character* root = owner ? cast_to_character(owner->get_root_movie()) : nullptr;
    movie_definition* definition = root ? root->get_movie_definition() : nullptr;
    return definition ? definition->get_version() : 0;
}

}  // namespace

void as_global_trace(const fn_call& fn) {
    if (fn.nargs < 1) {
        return;
    }
    log_msg("%s\n", fn.arg(0).to_string());
}

void as_global_getversion(const fn_call& fn) {
    fn.result->set_base_string(static_names::platform_name());
}

void as_global_assetpropflags(const fn_call& fn) {
    int version = root_movie_version(fn);
    if (fn.nargs < 3 || fn.nargs > 4 || (version == 5 && fn.nargs != 3)) {
        return;
    }
    smart_ptr<as_object> object = fn.arg(0).to_object();
    if (!object) {
        log_error("error: assetpropflags for NULL object\n");
        return;
    }
    smart_ptr<as_object> props = fn.arg(1).to_object();
    int set_flags = fn.arg(2).to_int() & member_flag_mask;
    int clear_flags = fn.nargs == 4 ? fn.arg(3).to_int() & member_flag_mask : (version == 5 ? member_flag_mask : 0);
    if (set_flags == 0 && clear_flags == 0) {
        props = nullptr;
        set_flags = AS_DONT_ENUM;
    }
    // The names are collected first: changing flags must not disturb the walk of a table.
    std::vector<base_stringi> names;
    const as_object* named_by = props ? props.get_ptr() : object.get_ptr();
    instruction_budget::charge(int64_t{named_by->get_members().size()} * member_flag_cost);
    for (const auto& member : named_by->get_members()) {
        if (!props) {
            names.push_back(member.first);
        } else if (member.second.is_string()) {
            names.push_back(member.second.to_base_stringi());
        }
    }
    for (const base_stringi& name : names) {
        object->change_member_flags(name, set_flags, clear_flags);
    }
}

}  // namespace swfplayer
