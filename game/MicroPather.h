#pragma once

#include <cstdint>
#include <vector>

// A* search over an abstract graph whose states are small unsigned numbers (PathFinder's cells).
namespace micropather {

// One neighbour of a state and the cost of the step to it; FLT_MAX means the step is blocked.
struct StateCost {
    unsigned state;
    float cost;
};

class Graph {
public:
    virtual ~Graph() = default;
    // An estimate of the cost from a to b that never exceeds the real cost.
    virtual float LeastCostEstimate(unsigned a, unsigned b) = 0;
    // Appends every neighbour of the state with its step cost.
    virtual void AdjacentCost(unsigned state, std::vector<StateCost>* adjacent) = 0;
    virtual void PrintStateInfo(unsigned state) = 0;
};

// The solver. Open states are taken by lowest total cost (cost so far plus estimate); among equal
// totals the state that entered (or was last improved) first goes first; a closed state is never
// reopened. Its working memory is kept between searches, so searches over a graph of a given size
// allocate only the first time.
//
// The nodes live in one array, found through a table indexed by state, and the open set is an
// array kept sorted by (total, arrival), rather than chained blocks of pooled nodes, a hash of
// search trees, a neighbour cache and a linked open list: the states are taken in the same order
// and the same paths are found, without a tree walk per neighbour and, once the arrays have grown,
// without an allocation per query. A node's neighbours are asked for once, when it is closed, so
// there is nothing to cache.
class MicroPather {
public:
    enum Result : int { kSolved = 0, kNoSolution = 1, kStartEndSame = 2 };
    // States at or above this are treated as unreachable.
    static constexpr unsigned kMaxStates = 1u << 20;

    explicit MicroPather(Graph* graph) : m_Graph(graph) {}

    // Searches from start to end. On kSolved, path holds start, ..., end and cost the path's cost;
    // otherwise path is empty and cost 0.
    int Solve(unsigned start, unsigned end, std::vector<unsigned>* path, float* cost);

    // Forgets everything about earlier searches (memory is kept).
    void Reset();

private:
    struct Node {
        unsigned state;
        int parent;
        float costFromStart;
        float total;
        // Order of entering the open set; a stale queue entry carries an older one.
        std::uint32_t arrival;
        bool open;
        bool closed;
    };
    struct QueueEntry {
        float total;
        std::uint32_t arrival;
        int node;
    };

    int Fetch(unsigned state);
    void Open(int node, int parent, float costFromStart, unsigned end);
    int PopOpen();
    void BuildPath(int goal, std::vector<unsigned>* path) const;

    Graph* m_Graph;
    std::vector<Node> m_Nodes;
    // Node index by state, valid while its search is the current one.
    struct Slot {
        int node;
        std::uint32_t search;
    };
    std::vector<Slot> m_Slots;
    std::uint32_t m_Search = 0;
    std::uint32_t m_Arrivals = 0;
    std::vector<QueueEntry> m_Queue;
    std::vector<StateCost> m_Adjacent;
};

}  // namespace micropather
