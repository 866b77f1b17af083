#include "game/MicroPather.h"

#include <algorithm>
#include <cfloat>

namespace micropather {

namespace {

// Sums costs; FLT_MAX stays FLT_MAX.
float Total(float a, float b) {
    return a == FLT_MAX || b == FLT_MAX ? FLT_MAX : a + b;
}

// Queue order: true when a is taken after b.
struct Later {
    bool operator()(const auto& a, const auto& b) const {
        return a.total != b.total ? a.total > b.total : a.arrival > b.arrival;
    }
};

}  // namespace

void MicroPather::Reset() {
    m_Nodes.clear();
    m_Queue.clear();
    ++m_Search;
}

int MicroPather::Fetch(unsigned state) {
    if (state >= m_Slots.size()) {
        m_Slots.resize(state + 1, Slot{-1, 0});
    }
    Slot& slot = m_Slots[state];
    if (slot.search != m_Search) {
        slot.search = m_Search;
        slot.node = static_cast<int>(m_Nodes.size());
        m_Nodes.push_back({state, -1, FLT_MAX, FLT_MAX, 0, false, false});
    }
    return slot.node;
}

void MicroPather::Open(int index, int parent, float costFromStart, unsigned end) {
    Node& node = m_Nodes[index];
    node.parent = parent;
    node.costFromStart = costFromStart;
    node.total = Total(costFromStart, m_Graph->LeastCostEstimate(node.state, end));
    node.arrival = m_Arrivals++;
    node.open = true;
    // The queue runs from the last to be taken to the next one, at its back.
    const QueueEntry entry{node.total, node.arrival, index};
    m_Queue.insert(std::lower_bound(m_Queue.begin(), m_Queue.end(), entry, Later()), entry);
}

// The open node of lowest total, or -1. Entries left behind by an improvement are skipped.
int MicroPather::PopOpen() {
    while (!m_Queue.empty()) {
        const QueueEntry entry = m_Queue.back();
        m_Queue.pop_back();
        Node& node = m_Nodes[entry.node];
        if (node.open && node.arrival == entry.arrival) {
            node.open = false;
            return entry.node;
        }
    }
    return -1;
}

void MicroPather::BuildPath(int goal, std::vector<unsigned>* path) const {
    // Parents form a chain back to the start; the bound guards against a graph with costs of 0.
    for (int index = goal; index >= 0 && path->size() < m_Nodes.size(); index = m_Nodes[index].parent) {
        path->push_back(m_Nodes[index].state);
    }
    std::reverse(path->begin(), path->end());
}

int MicroPather::Solve(unsigned start, unsigned end, std::vector<unsigned>* path, float* cost) {
    path->clear();
    *cost = 0.0f;
    if (start == end) {
        return kStartEndSame;
    }
    if (start >= kMaxStates || end >= kMaxStates) {
        return kNoSolution;
    }
    Reset();
    Open(Fetch(start), -1, 0.0f, end);
    for (int current = PopOpen(); current >= 0; current = PopOpen()) {
        if (m_Nodes[current].state == end) {
            BuildPath(current, path);
            *cost = m_Nodes[current].costFromStart;
            return kSolved;
        }
        m_Nodes[current].closed = true;
        m_Adjacent.clear();
        m_Graph->AdjacentCost(m_Nodes[current].state, &m_Adjacent);
        for (const StateCost& next : m_Adjacent) {
            if (next.cost == FLT_MAX || next.state >= kMaxStates) {
                continue;
            }
            const int neighbour = Fetch(next.state);
            const float g = m_Nodes[current].costFromStart + next.cost;
            const Node& node = m_Nodes[neighbour];
            if ((!node.open && !node.closed) || node.costFromStart > g) {
                if (node.closed) {
                    // A closed state takes the better cost but is not searched again.
                    Node& closed = m_Nodes[neighbour];
                    closed.parent = current;
                    closed.costFromStart = g;
                    closed.total = Total(g, m_Graph->LeastCostEstimate(closed.state, end));
                } else {
                    Open(neighbour, current, g, end);
                }
            }
        }
    }
    return kNoSolution;
}

}  // namespace micropather
