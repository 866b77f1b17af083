#include "swfplayer/main/text/as_global_textfield_ctor.h"

#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/text/edit_text_character.h"
#include "swfplayer/main/text/edit_text_character_def.h"

namespace swfplayer {

void as_global_textfield_ctor(const fn_call& fn) {
    player* owner = fn.get_player();
    if (owner == nullptr) {
        return;
    }
    smart_ptr<edit_text_character_def> def = new edit_text_character_def(owner, 0, 0);
    smart_ptr<character> field = def->create_character_instance(nullptr, 0);
    fn.result->set_as_object(field.get_ptr());
}

}  // namespace swfplayer
