#pragma once

// Internal to the game's joint code: the only place that reaches into Box2D's private members.
//
// Box2D 2.4 builds joints in a closed switch inside the library, so the constant-volume joint is
// created by the game and linked into the world by hand, exactly as b2World::CreateJoint links its
// own joints. That needs four private members: the world's joint list and joint count, a body's
// joint list, and a body's index in the island being solved. They are named here through explicit
// template instantiation, which the language allows to name private members; nothing else in the
// program touches them. An explicit instantiation may appear once in a program, so exactly one
// source file (the constant-volume joint's) includes this header.

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

namespace box2d_access {

// One tag per member: it declares the function that the instantiation below defines.
struct WorldJointList {
    using type = b2Joint* b2World::*;
    friend type Member(WorldJointList);
};
struct WorldJointCount {
    using type = int32 b2World::*;
    friend type Member(WorldJointCount);
};
struct BodyJointList {
    using type = b2JointEdge* b2Body::*;
    friend type Member(BodyJointList);
};
struct BodyIslandIndex {
    using type = int32 b2Body::*;
    friend type Member(BodyIslandIndex);
};

template <class Tag, typename Tag::type member>
struct Robber {
    friend typename Tag::type Member(Tag) { return member; }
};

template struct Robber<WorldJointList, &b2World::m_jointList>;
template struct Robber<WorldJointCount, &b2World::m_jointCount>;
template struct Robber<BodyJointList, &b2Body::m_jointList>;
template struct Robber<BodyIslandIndex, &b2Body::m_islandIndex>;

inline b2Joint*& JointList(b2World& world) {
    return world.*Member(WorldJointList{});
}
inline int32& JointCount(b2World& world) {
    return world.*Member(WorldJointCount{});
}
inline b2JointEdge*& JointList(b2Body& body) {
    return body.*Member(BodyJointList{});
}
// Valid only while the body's island is being solved.
inline int32 IslandIndex(const b2Body& body) {
    return body.*Member(BodyIslandIndex{});
}

}  // namespace box2d_access
