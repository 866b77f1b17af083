#include "swfplayer/base/ref_counted.h"

#include <cassert>

namespace swfplayer {

void weak_proxy::add_ref() {
    assert(m_ref_count >= 0);
    m_ref_count++;
}

void weak_proxy::drop_ref() {
    assert(m_ref_count > 0);
    if (--m_ref_count == 0) {
        delete this;
    }
}

ref_counted::~ref_counted() {
    assert(m_ref_count == 0);
    if (m_weak_proxy) {
        m_weak_proxy->notify_object_died();
        m_weak_proxy->drop_ref();
    }
}

void ref_counted::add_ref() const {
    assert(m_ref_count >= 0);
    m_ref_count++;
}

void ref_counted::drop_ref() const {
    assert(m_ref_count > 0);
    if (--m_ref_count == 0) {
        delete this;
    }
}

weak_proxy* ref_counted::get_weak_proxy() const {
    if (m_weak_proxy == nullptr) {
        m_weak_proxy = new weak_proxy();
        m_weak_proxy->add_ref();  // the object's own hold
    }
    return m_weak_proxy;
}

}  // namespace swfplayer
