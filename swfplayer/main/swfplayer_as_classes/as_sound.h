#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

class character;
struct fn_call;

// Sound: plays, stops and sets the volume of one sound through the installed sound handler
// (attachSound takes an exported sample of the clip's movie, loadSound a file). Without a
// handler the methods have no effect, but attachSound still checks and records its sample.
class as_sound : public as_object {
public:
    // target may be null: the calling script's target then supplies the exports.
    as_sound(player* owner, character* target);
    // Releases the current sound.
    ~as_sound() override;

    bool is(int class_id) const override { return class_id == AS_SOUND || as_object::is(class_id); }

    // The clip while it lives, else null.
    character* get_target() const { return m_target.get_ptr(); }
    // The handler's id of the current sound; -1 for none.
    int get_sound_id() const { return m_id; }
    // Releases the current sound and records id; owned sounds (loaded by this object) are
    // deleted at the handler when released.
    void set_sound(int id, bool owned);

private:
    weak_ptr<character> m_target;
    int m_id = -1;
    bool m_owned = false;
};

// new Sound([clip]): a Sound on the clip that the argument names (a path or the clip), or on
// none.
void as_global_sound_ctor(const fn_call& fn);

}  // namespace swfplayer
