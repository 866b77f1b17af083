#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/sigslot.h"

namespace {

using Signal = sigslot::signal1<int>;

// A receiver that records every call as "<name>:<argument>" into a shared journal.
class Recorder : public sigslot::has_slots<> {
public:
    Recorder(std::string name, std::vector<std::string>& journal) : m_Name(std::move(name)), m_Journal(journal) {}

    void OnValue(int value) { m_Journal.push_back(m_Name + ":" + std::to_string(value)); }
    void OnValueTwice(int value) { m_Journal.push_back(m_Name + "*2:" + std::to_string(value * 2)); }

private:
    std::string m_Name;
    std::vector<std::string>& m_Journal;
};

// A receiver whose slot runs an action before recording, so that tests can disconnect or
// destroy things from inside an emit.
class Actor : public sigslot::has_slots<> {
public:
    explicit Actor(std::vector<std::string>& journal) : m_Journal(journal) {}

    std::function<void()> action;
    void OnValue(int value) {
        m_Journal.push_back("actor:" + std::to_string(value));
        // A copy, so that the action may replace or clear itself.
        if (std::function<void()> run = action) {
            run();
        }
    }

private:
    std::vector<std::string>& m_Journal;
};

using Journal = std::vector<std::string>;

}  // namespace

TEST(Sigslot, emit_without_connections_does_nothing) {
    Signal signal;
    signal.emit(1);
    EXPECT_EQ(signal.connection_count(), 0u);
}

TEST(Sigslot, receivers_run_in_connection_order_including_repeated_connections) {
    Journal journal;
    Recorder a("a", journal), b("b", journal);
    Signal signal;
    signal.connect(&b, &Recorder::OnValue);
    signal.connect(&a, &Recorder::OnValue);
    signal.connect(&b, &Recorder::OnValueTwice);
    signal.emit(3);
    signal(4);
    EXPECT_EQ(journal, (Journal{"b:3", "a:3", "b*2:6", "b:4", "a:4", "b*2:8"}));
}

TEST(Sigslot, destroyed_receiver_is_removed_from_every_signal) {
    Journal journal;
    Recorder stays("stays", journal);
    Signal first, second;
    {
        Recorder goes("goes", journal);
        first.connect(&goes, &Recorder::OnValue);
        first.connect(&stays, &Recorder::OnValue);
        second.connect(&goes, &Recorder::OnValue);
        second.connect(&goes, &Recorder::OnValueTwice);
    }
    EXPECT_EQ(first.connection_count(), 1u);
    EXPECT_EQ(second.connection_count(), 0u);
    first.emit(1);
    second.emit(2);
    EXPECT_EQ(journal, (Journal{"stays:1"}));
}

TEST(Sigslot, destroyed_signal_is_forgotten_by_its_receivers) {
    Journal journal;
    Recorder receiver("r", journal);
    Signal survivor;
    survivor.connect(&receiver, &Recorder::OnValue);
    {
        Signal doomed;
        doomed.connect(&receiver, &Recorder::OnValue);
        doomed.emit(1);
    }
    // The receiver's own destruction at the end of the test must not touch the dead signal
    // (the sanitizer build checks this); the surviving signal still works.
    survivor.emit(2);
    EXPECT_EQ(journal, (Journal{"r:1", "r:2"}));
}

TEST(Sigslot, receiver_may_disconnect_itself_during_emit) {
    Journal journal;
    Actor actor(journal);
    Recorder after("after", journal);
    Signal signal;
    signal.connect(&actor, &Actor::OnValue);
    signal.connect(&after, &Recorder::OnValue);
    actor.action = [&] { actor.disconnect_all(); };
    signal.emit(1);
    signal.emit(2);
    EXPECT_EQ(journal, (Journal{"actor:1", "after:1", "after:2"}));
    EXPECT_EQ(signal.connection_count(), 1u);
}

TEST(Sigslot, slot_may_destroy_the_next_receiver_during_emit) {
    Journal journal;
    Actor actor(journal);
    auto victim = std::make_unique<Recorder>("victim", journal);
    Recorder last("last", journal);
    Signal signal;
    signal.connect(&actor, &Actor::OnValue);
    signal.connect(victim.get(), &Recorder::OnValue);
    signal.connect(&last, &Recorder::OnValue);
    actor.action = [&] { victim.reset(); };
    signal.emit(5);
    EXPECT_EQ(journal, (Journal{"actor:5", "last:5"}));
    EXPECT_EQ(signal.connection_count(), 2u);
}

TEST(Sigslot, slot_may_destroy_its_own_receiver_during_emit) {
    Journal journal;
    auto actor = std::make_unique<Actor>(journal);
    Recorder last("last", journal);
    Signal signal;
    signal.connect(actor.get(), &Actor::OnValue);
    signal.connect(&last, &Recorder::OnValue);
    Actor* raw = actor.get();
    raw->action = [&] { actor.reset(); };
    signal.emit(7);
    EXPECT_EQ(journal, (Journal{"actor:7", "last:7"}));
    EXPECT_EQ(signal.connection_count(), 1u);
}

TEST(Sigslot, connection_made_during_emit_is_called_from_the_next_emit) {
    Journal journal;
    Actor actor(journal);
    Recorder late("late", journal);
    Signal signal;
    signal.connect(&actor, &Actor::OnValue);
    actor.action = [&] {
        signal.connect(&late, &Recorder::OnValue);
        actor.action = nullptr;
    };
    signal.emit(1);
    signal.emit(2);
    EXPECT_EQ(journal, (Journal{"actor:1", "actor:2", "late:2"}));
}

TEST(Sigslot, nested_emit_from_a_slot_runs_on_the_same_thread) {
    Journal journal;
    Actor actor(journal);
    Recorder other("other", journal);
    Signal signal;
    signal.connect(&actor, &Actor::OnValue);
    signal.connect(&other, &Recorder::OnValue);
    actor.action = [&] {
        actor.action = nullptr;
        signal.emit(9);
        other.disconnect_all();  // removed only after the outer emit has finished walking
    };
    signal.emit(1);
    EXPECT_EQ(journal, (Journal{"actor:1", "actor:9", "other:9"}));
    EXPECT_EQ(signal.connection_count(), 1u);
}

TEST(Sigslot, copied_receiver_and_copied_signal_keep_their_connections) {
    Journal journal;
    Signal signal;
    Recorder original("r", journal);
    signal.connect(&original, &Recorder::OnValue);
    {
        Recorder copy(original);
        EXPECT_EQ(signal.connection_count(), 2u);
        Signal signalCopy(signal);
        signalCopy.emit(1);
    }
    EXPECT_EQ(signal.connection_count(), 1u);
    signal.emit(2);
    EXPECT_EQ(journal, (Journal{"r:1", "r:1", "r:2"}));
}
