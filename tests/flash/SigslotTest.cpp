#include "flash/sigslot.h"

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

// A signal with receivers "a" and "b" writing into one journal.
class Sigslot : public ::testing::Test {
protected:
    Journal journal;
    Receiver a{"a", journal}, b{"b", journal};
    Signal signal;
};

}  // namespace

TEST_F(Sigslot, receivers_run_in_connection_order_including_repeated_connections) {
    signal.emit(0);
    signal.connect(&b, &Receiver::OnValue);
    signal.connect(&a, &Receiver::OnValue);
    signal.connect(&b, &Receiver::OnValueTwice);
    signal.emit(3);
    signal(4);
    EXPECT_EQ(journal, (Journal{"b:3", "a:3", "b*2:6", "b:4", "a:4", "b*2:8"}));
}

// A destroyed receiver is removed from every signal it was connected to, with every slot.
TEST_F(Sigslot, a_destroyed_receiver_leaves_every_signal) {
    Signal second;
    {
        Receiver goes("goes", journal);
        signal.connect(&goes, &Receiver::OnValue);
        signal.connect(&a, &Receiver::OnValue);
        second.connect(&goes, &Receiver::OnValue);
        second.connect(&goes, &Receiver::OnValueTwice);
    }
    EXPECT_EQ(signal.connection_count(), 1u);
    EXPECT_EQ(second.connection_count(), 0u);
    signal.emit(1);
    second.emit(2);
    EXPECT_EQ(journal, (Journal{"a:1"}));
}

// Connections made during an emit are called from the next one.
TEST_F(Sigslot, connections_made_during_an_emit_are_called_from_the_next_one) {
    signal.connect(&b, &Receiver::OnValue);
    b.action = [&] {
        signal.connect(&a, &Receiver::OnValue);
        b.action = nullptr;
    };
    signal.emit(1);
    signal.emit(2);
    EXPECT_EQ(journal, (Journal{"b:1", "b:2", "a:2"}));
}

// A slot that destroys its own receiver, or the one connected after it, leaves the emit walking
// on to the receivers that remain.
TEST_F(Sigslot, slot_may_destroy_its_own_or_the_next_receiver_during_emit) {
    for (const bool itself : {true, false}) {
        SCOPED_TRACE(itself ? "itself" : "the next one");
        journal.clear();
        auto actor = std::make_unique<Receiver>("actor", journal);
        auto victim = std::make_unique<Receiver>("victim", journal);
        Signal local;
        local.connect(actor.get(), &Receiver::OnValue);
        local.connect(victim.get(), &Receiver::OnValue);
        local.connect(&a, &Receiver::OnValue);
        actor->action = [&] {
            (itself ? actor : victim).reset();
        };
        local.emit(5);
        EXPECT_EQ(journal, itself ? (Journal{"actor:5", "victim:5", "a:5"}) : (Journal{"actor:5", "a:5"}));
        EXPECT_EQ(local.connection_count(), 2u);
    }
}

// A nested emit runs on the same thread, and a receiver disconnected after it is skipped by the
// outer emit.
TEST_F(Sigslot, a_receiver_disconnected_by_a_nested_emit_is_skipped) {
    signal.connect(&a, &Receiver::OnValue);
    signal.connect(&b, &Receiver::OnValue);
    a.action = [&] {
        a.action = nullptr;
        signal.emit(9);
        b.disconnect_all();
    };
    signal.emit(1);
    EXPECT_EQ(journal, (Journal{"a:1", "a:9", "b:9"}));
    EXPECT_EQ(signal.connection_count(), 1u);
}

// The copied signal goes first: its receivers forget it, and their own destruction later must not
// touch it (the sanitizer build checks this).
TEST_F(Sigslot, copied_receiver_and_copied_signal_keep_their_connections) {
    signal.connect(&a, &Receiver::OnValue);
    {
        Receiver copy(a);
        EXPECT_EQ(signal.connection_count(), 2u);
        Signal signalCopy(signal);
        signalCopy.emit(1);
    }
    EXPECT_EQ(signal.connection_count(), 1u);
    signal.emit(2);
    EXPECT_EQ(journal, (Journal{"a:1", "a:1", "a:2"}));
}
