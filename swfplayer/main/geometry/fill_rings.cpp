#include "swfplayer/main/geometry/fill_rings.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace swfplayer {
namespace tesselate_new {

void normalise_fill_sides(std::vector<fill_path>* paths) {
    size_t count = paths->size();
    for (size_t i = 0; i < count; i++) {
        fill_path& path = (*paths)[i];
        if (path.fill0 < 0) {
            continue;
        }
        if (path.fill1 < 0) {
            std::reverse(path.points.begin(), path.points.end());
            path.fill1 = path.fill0;
            path.fill0 = -1;
        } else {
            fill_path copy;
            copy.fill1 = path.fill0;
            copy.points.assign(path.points.rbegin(), path.points.rend());
            path.fill0 = -1;
            paths->push_back(std::move(copy));  // path is not used past this point
        }
    }
}

namespace {

bool same_point(const point& a, const point& b) {
    return a.x == b.x && a.y == b.y;
}

// Finds open paths by fill and end point, and picks the next change in the order of repeated
// first-change passes.
class ring_joiner {
public:
    explicit ring_joiner(std::vector<fill_path>* paths) : m_paths(*paths) {}

    void run();

private:
    // (fill1, x, y); -0 is stored as 0 so that keys agree with float equality. Points that are
    // not numbers equal nothing and are never stored.
    using end_key = std::tuple<int, float, float>;
    using end_index = std::map<end_key, std::set<int>>;

    static bool keyable(const point& p) { return p.x == p.x && p.y == p.y; }
    end_key key(int fill, const point& p) const { return end_key(fill, p.x + 0.0f, p.y + 0.0f); }

    bool open(int i) const {
        const fill_path& p = m_paths[i];
        return !p.closed && p.fill1 >= 0 && !p.points.empty();
    }
    void add_ends(int i);
    void remove_ends(int i);
    static void add(end_index* index, const end_key& k, int i) { (*index)[k].insert(i); }
    static void remove(end_index* index, const end_key& k, int i);
    static int first_in(const end_index& index, const end_key& k, int skip);

    // The path that joins p, or -1; appends_to_p tells which way.
    int partner(int p, bool* appends_to_p) const;
    bool changes(int p) const;
    void change(int p);

    std::vector<fill_path>& m_paths;
    end_index m_firsts;
    end_index m_lasts;
};

void ring_joiner::remove(end_index* index, const end_key& k, int i) {
    auto found = index->find(k);
    if (found != index->end()) {
        found->second.erase(i);
        if (found->second.empty()) {
            index->erase(found);
        }
    }
}

int ring_joiner::first_in(const end_index& index, const end_key& k, int skip) {
    auto found = index.find(k);
    if (found == index.end()) {
        return -1;
    }
    for (int i : found->second) {
        if (i != skip) {
            return i;
        }
    }
    return -1;
}

void ring_joiner::add_ends(int i) {
    const fill_path& p = m_paths[i];
    if (keyable(p.points.front())) {
        add(&m_firsts, key(p.fill1, p.points.front()), i);
    }
    if (keyable(p.points.back())) {
        add(&m_lasts, key(p.fill1, p.points.back()), i);
    }
}

void ring_joiner::remove_ends(int i) {
    const fill_path& p = m_paths[i];
    if (keyable(p.points.front())) {
        remove(&m_firsts, key(p.fill1, p.points.front()), i);
    }
    if (keyable(p.points.back())) {
        remove(&m_lasts, key(p.fill1, p.points.back()), i);
    }
}

int ring_joiner::partner(int p, bool* appends_to_p) const {
    const fill_path& path = m_paths[p];
    int starts_at_end = -1;
    int ends_at_start = -1;
    if (keyable(path.points.back())) {
        starts_at_end = first_in(m_firsts, key(path.fill1, path.points.back()), p);
    }
    if (keyable(path.points.front())) {
        ends_at_start = first_in(m_lasts, key(path.fill1, path.points.front()), p);
    }
    // The first path in order that meets either end; a path meeting both is appended to p.
    if (starts_at_end >= 0 && (ends_at_start < 0 || starts_at_end <= ends_at_start)) {
        *appends_to_p = true;
        return starts_at_end;
    }
    *appends_to_p = false;
    return ends_at_start;
}

bool ring_joiner::changes(int p) const {
    if (!open(p)) {
        return false;
    }
    const fill_path& path = m_paths[p];
    bool appends_to_p;
    return same_point(path.points.front(), path.points.back()) || partner(p, &appends_to_p) >= 0;
}

void ring_joiner::change(int p) {
    fill_path& path = m_paths[p];
    if (same_point(path.points.front(), path.points.back())) {
        remove_ends(p);
        path.closed = true;
        return;
    }
    bool appends_to_p;
    int q = partner(p, &appends_to_p);
    int grown = appends_to_p ? p : q;
    int used = appends_to_p ? q : p;
    remove_ends(grown);
    remove_ends(used);
    std::vector<point>& target = m_paths[grown].points;
    const std::vector<point>& source = m_paths[used].points;
    target.insert(target.end(), source.begin() + 1, source.end());
    m_paths[used].fill1 = -1;
    m_paths[used].points.clear();
    m_paths[used].points.shrink_to_fit();
    add_ends(grown);
}

void ring_joiner::run() {
    int count = static_cast<int>(m_paths.size());
    for (int i = 0; i < count; i++) {
        if (open(i)) {
            add_ends(i);
        }
    }
    // A pass ends at the first path that changes, p. Every path before p stays unable to
    // change: its ends are untouched, and a path meeting p's new end would have met p's partner
    // before. The partner always comes after p, for a partner before p would have met p first.
    // So the next pass can start at p instead of at the beginning.
    int p = 0;
    while (p < count) {
        if (changes(p)) {
            change(p);
        } else {
            p++;
        }
    }
}

}  // namespace

void join_open_rings(std::vector<fill_path>* paths) {
    ring_joiner(paths).run();
}

}  // namespace tesselate_new
}  // namespace swfplayer
