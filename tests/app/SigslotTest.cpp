#include "app/sigslot.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Signal = sigslot::signal1<int>;
using Journal = std::vector<std::string>;

// A receiver that records every call as "<name>:<argument>" into a shared journal, then runs its
// action, so that tests can connect, disconnect or destroy things from inside an emit.
class Receiver : public sigslot::has_slots<> {
public:
    Receiver(std::string name, Journal& journal) : m_Name(std::move(name)), m_Journal(journal) {}

    void OnValue(int value) {
        m_Journal.push_back(m_Name + ":" + std::to_string(value));
        // A copy, so that the action may replace or clear itself.
        if (std::function<void()> run = action) {
            run();
        }
    }
    void OnValueTwice(int value) { m_Journal.push_back(m_Name + "*2:" + std::to_string(value * 2)); }

    std::function<void()> action;

private:
    std::string m_Name;
    Journal& m_Journal;
};

}  // namespace

TEST(Sigslot, receivers_run_in_connection_order_including_repeated_connections) {
    Journal journal;
    Receiver a("a", journal), b("b", journal);
    Signal signal;
    signal.emit(0);
    signal.connect(&b, &Receiver::OnValue);
    signal.connect(&a, &Receiver::OnValue);
    signal.connect(&b, &Receiver::OnValueTwice);
    signal.emit(3);
    signal(4);
    EXPECT_EQ(journal, (Journal{"b:3", "a:3", "b*2:6", "b:4", "a:4", "b*2:8"}));
}

// A destroyed receiver is removed from every signal it was connected to; a destroyed signal is
// forgotten by its receivers, whose own destruction later must not touch it (the sanitizer build
// checks this).
TEST(Sigslot, either_side_may_be_destroyed_first) {
    Journal journal;
    Receiver stays("stays", journal);
    Signal first, second;
    {
        Receiver goes("goes", journal);
        first.connect(&goes, &Receiver::OnValue);
        first.connect(&stays, &Receiver::OnValue);
        second.connect(&goes, &Receiver::OnValue);
        second.connect(&goes, &Receiver::OnValueTwice);
    }
    EXPECT_EQ(first.connection_count(), 1u);
    EXPECT_EQ(second.connection_count(), 0u);
    first.emit(1);
    second.emit(2);
    {
        Signal doomed;
        doomed.connect(&stays, &Receiver::OnValue);
        doomed.emit(3);
    }
    first.emit(4);
    EXPECT_EQ(journal, (Journal{"stays:1", "stays:3", "stays:4"}));
}

TEST(Sigslot, receiver_may_disconnect_itself_during_emit) {
    Journal journal;
    Receiver actor("actor", journal), after("after", journal);
    Signal signal;
    signal.connect(&actor, &Receiver::OnValue);
    signal.connect(&after, &Receiver::OnValue);
    actor.action = [&] {
        actor.disconnect_all();
    };
    signal.emit(1);
    signal.emit(2);
    EXPECT_EQ(journal, (Journal{"actor:1", "after:1", "after:2"}));
    EXPECT_EQ(signal.connection_count(), 1u);
}

// A slot that destroys its own receiver, or the one connected after it, leaves the emit walking
// on to the receivers that remain.
TEST(Sigslot, slot_may_destroy_its_own_or_the_next_receiver_during_emit) {
    for (const bool itself : {true, false}) {
        SCOPED_TRACE(itself ? "itself" : "the next one");
        Journal journal;
        auto actor = std::make_unique<Receiver>("actor", journal);
        auto victim = std::make_unique<Receiver>("victim", journal);
        Receiver last("last", journal);
        Signal signal;
        signal.connect(actor.get(), &Receiver::OnValue);
        signal.connect(victim.get(), &Receiver::OnValue);
        signal.connect(&last, &Receiver::OnValue);
        actor->action = [&] {
            (itself ? actor : victim).reset();
        };
        signal.emit(5);
        EXPECT_EQ(journal, itself ? (Journal{"actor:5", "victim:5", "last:5"}) : (Journal{"actor:5", "last:5"}));
        EXPECT_EQ(signal.connection_count(), 2u);
    }
}

// Connections made during an emit are called from the next one; a nested emit runs on the same
// thread, and a receiver disconnected after it is skipped by the outer emit.
TEST(Sigslot, connections_and_nested_emits_inside_a_slot) {
    Journal journal;
    Receiver actor("actor", journal), late("late", journal);
    Signal signal;
    signal.connect(&actor, &Receiver::OnValue);
    actor.action = [&] {
        signal.connect(&late, &Receiver::OnValue);
        actor.action = nullptr;
    };
    signal.emit(1);
    signal.emit(2);
    EXPECT_EQ(journal, (Journal{"actor:1", "actor:2", "late:2"}));

    journal.clear();
    actor.action = [&] {
        actor.action = nullptr;
        signal.emit(9);
        late.disconnect_all();
    };
    signal.emit(1);
    EXPECT_EQ(journal, (Journal{"actor:1", "actor:9", "late:9"}));
    EXPECT_EQ(signal.connection_count(), 1u);
}

TEST(Sigslot, copied_receiver_and_copied_signal_keep_their_connections) {
    Journal journal;
    Signal signal;
    Receiver original("r", journal);
    signal.connect(&original, &Receiver::OnValue);
    {
        Receiver copy(original);
        EXPECT_EQ(signal.connection_count(), 2u);
        Signal signalCopy(signal);
        signalCopy.emit(1);
    }
    EXPECT_EQ(signal.connection_count(), 1u);
    signal.emit(2);
    EXPECT_EQ(journal, (Journal{"r:1", "r:1", "r:2"}));
}
