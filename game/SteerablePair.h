#pragma once

#include "app/Steerable.h"

// Two creatures steered as one: every push of the mouth and every spit goes to both, each with
// the whole strength. A match attaches one controller to it when that controller drives both of
// its creatures, so the controller is updated once per step and still moves both.
class SteerablePair : public Steerable {
public:
    // Both creatures must outlive the pair.
    SteerablePair(Steerable& first, Steerable& second) : m_First(first), m_Second(second) {}

    void MoveMouth(const b2Vec2& direction, float strength) override {
        m_First.MoveMouth(direction, strength);
        m_Second.MoveMouth(direction, strength);
    }
    void Shoot() override {
        m_First.Shoot();
        m_Second.Shoot();
    }

private:
    Steerable& m_First;
    Steerable& m_Second;
};
