#pragma once

#include "swfplayer/main/player/root.h"
#include "tests/swfplayer/main/text/TextFixture.h"

#include <map>
#include <string>
#include <vector>

namespace text_test {

// What the focus handlers of the fixture's objects heard, and what they do in turn.
struct FocusScript {
    // In order: "set NAME", "kill NAME" and, for a clip, "unload NAME" as each handler starts;
    // "remove NAME" and "gone NAME" around each removal of an object on the stage; "made NAME" as
    // an object placed by script is made. The handlers of an object that one placed by script in
    // its place has replaced add " (replaced)".
    std::vector<std::string> events;
    // The name of the root's focus holder as each kill handler starts.
    std::vector<std::string> holders;
    // The actions that run after an entry of events ("kill second", "remove clip", ...), in order:
    // "focus NAME" (Selection.setFocus by path), "give NAME" (Selection.setFocus with the object
    // itself, kept from the start), "remove NAME" (out of its clip's display list, when it is in
    // it), "field NAME" or "clip NAME" (createTextField "NAME_field" at depth 9, or
    // createEmptyMovieClip "NAME_clip" at depth 10, into the clip NAME, by a kept reference: its
    // handlers then record too) and "input NAME" or "dynamic NAME" (the field's type: "dynamic"
    // makes it read-only).
    std::map<std::string, std::vector<std::string>> actions;
    // Handler calls left before the handlers stop acting (a guard against handlers that never end).
    int calls_left = 1000;
};

// The focus fixture's script record, cleared by each SetUp.
FocusScript& Script();

// A movie of two input fields, "first" at the top and "second" 100 pixels below it, and two clips
// that take presses, "clip" 200 pixels and "other" 300 pixels down (100 pixels square). Its first
// frame defines focus(target), which hands Selection.setFocus's answer back, and stops; its second
// frame removes "second" and "clip". Every object records its focus handlers (and a clip its
// onUnload) in Script(). The movie plays its first frame.
class FocusFixture : public TextFixture {
protected:
    void SetUp() override;
    void TearDown() override;
    // A new instance of the movie in place of the one playing, with a cleared script record.
    void Restart();

    // The object of that name as it was placed, whether or not it is still on the stage; null
    // when none was.
    static character* Object(const std::string& name);
    edit_text_character* Field(const std::string& name) { return static_cast<edit_text_character*>(Object(name)); }
    // Selection.setFocus with the path of the object of that name; its answer as text.
    std::string Focus(const std::string& name);
    // Takes the object off the stage, as a script's action "remove NAME" does.
    static void Remove(const std::string& name);
    // Does what a script's action does ("give NAME", "field NAME", ...).
    static void Act(const std::string& action);
    void Type(const std::string& keys);
    std::string Text(const std::string& name) { return Field(name)->get_text().c_str(); }
    // Whether field listens to the root's keys.
    bool Listens(edit_text_character* field);
    // The name of the root's focus holder; "nobody" for none.
    std::string Holder();
    // The root names the object of that name (nobody for null) as the focus holder, and of all
    // the fields made so far that one alone has its focus flag and listens to the keys.
    void ExpectHolder(const char* name);
    // A press and release of the left button at (x, y) pixels.
    void Click(int x, int y);
    // A press on the object's top left corner.
    void Press(const std::string& name);
    // The names of the objects that heard event ("set", "kill", ...), in order.
    static std::vector<std::string> Heard(const std::string& event);
    // The focus events ("set" and "kill") that the object of that name heard, in order, from the
    // script record's entry at index from on.
    static std::vector<std::string> FocusEvents(const std::string& name, size_t from = 0);

    smart_ptr<root> m_playing;
    std::map<std::string, smart_ptr<character>> m_objects;
};

}  // namespace text_test
