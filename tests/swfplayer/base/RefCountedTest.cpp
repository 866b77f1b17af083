#include "swfplayer/base/ref_counted.h"
#include "swfplayer/base/smart_ptr.h"

#include <gtest/gtest.h>

#include <vector>

using swfplayer::ref_counted;
using swfplayer::smart_ptr;
using swfplayer::weak_proxy;
using swfplayer::weak_ptr;

namespace {

using Ints = std::vector<int>;

// Counts live instances so tests can see exactly when an object is deleted.
struct tracked : ref_counted {
    static int live;
    tracked() { live++; }
    ~tracked() override { live--; }
};
int tracked::live = 0;

struct derived : tracked {};

TEST(SmartPtr, counts_owners_and_deletes_with_the_last) {
    tracked::live = 0;
    tracked* raw = new tracked;
    EXPECT_EQ(0, raw->get_ref_count());
    {
        smart_ptr<tracked> a(raw);
        smart_ptr<tracked> b = a;
        EXPECT_EQ(2, raw->get_ref_count());
        smart_ptr<tracked> c(std::move(b));
        EXPECT_FALSE(b);
        c = raw;  // the same target changes nothing
        EXPECT_EQ(2, raw->get_ref_count());
        c = new derived;  // the old target loses an owner, the new one gains it
        EXPECT_EQ((Ints{raw->get_ref_count(), tracked::live}), (Ints{1, 2}));
        smart_ptr<derived> d = new derived;
        c = d;  // from a derived pointer: the derived object c held goes
        EXPECT_EQ(2, tracked::live);
        a = c;  // and the last owner of raw lets it go
        EXPECT_TRUE(a == c);
        EXPECT_EQ((Ints{d->get_ref_count(), tracked::live}), (Ints{3, 1}));
    }
    EXPECT_EQ(0, tracked::live);
}

TEST(WeakPtr, yields_null_after_its_object_dies_and_the_last_holder_deletes_the_proxy) {
    tracked::live = 0;
    smart_ptr<tracked> owner = new tracked;
    weak_ptr<tracked> watcher = owner;
    weak_proxy* proxy = owner->get_weak_proxy();
    // The object's own hold and the watcher's; no strong count from the weak pointer.
    EXPECT_EQ((Ints{proxy->get_ref_count(), owner->get_ref_count()}), (Ints{2, 1}));
    EXPECT_EQ(owner.get_ptr(), watcher.get_ptr());
    weak_ptr<tracked> second = watcher;
    EXPECT_EQ(3, proxy->get_ref_count());

    owner = nullptr;
    EXPECT_EQ((Ints{tracked::live, proxy->is_alive(), proxy->get_ref_count()}), (Ints{0, 0, 2}));
    EXPECT_EQ(nullptr, watcher.get_ptr());
    EXPECT_EQ(1, proxy->get_ref_count());
    EXPECT_TRUE(second == nullptr);  // the last holder deletes the proxy (checked by the sanitizers)
    EXPECT_EQ(nullptr, second.get_ptr());
}

TEST(WeakPtr, retargeting_and_clearing_move_the_proxy_holds) {
    smart_ptr<tracked> a = new tracked;
    smart_ptr<tracked> b = new tracked;
    weak_ptr<tracked> w = a.get_ptr();
    weak_proxy* proxy_a = a->get_weak_proxy();
    EXPECT_EQ(2, proxy_a->get_ref_count());
    w = b;
    EXPECT_EQ(1, proxy_a->get_ref_count());
    EXPECT_EQ(b.get_ptr(), w.get_ptr());
    w = static_cast<tracked*>(nullptr);
    EXPECT_EQ(1, b->get_weak_proxy()->get_ref_count());
    EXPECT_EQ(nullptr, w.get_ptr());
}

}  // namespace
