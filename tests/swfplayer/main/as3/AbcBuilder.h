#pragma once

// Writes ABC blocks for the ActionScript 3 tests, fuzz seeds and benchmark. Every field is
// public and written as it stands, so a test can break any rule of the format on purpose.

#include "tools/swfkit/BitWriter.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace abc_testing {

using swfkit::Bytes;

struct Namespace {
    uint8_t kind = 0x16;
    uint32_t name = 0;
};

// Fields are written by kind: QName kinds (0x07, 0x0D) ns and name; Multiname kinds (0x09,
// 0x0E) name and nsSet; MultinameL kinds (0x1B, 0x1C) nsSet; any other kind its raw bytes.
struct Multiname {
    uint8_t kind = 0x07;
    uint32_t ns = 0;
    uint32_t name = 0;
    uint32_t nsSet = 0;
    Bytes raw;
};

struct Method {
    std::vector<uint32_t> paramTypes;
    uint32_t returnType = 0;
    uint32_t name = 0;
    uint8_t flags = 0;  // 0x08 is set for the options when there are any
    std::vector<std::pair<uint32_t, uint8_t>> options;
};

// A trait; slot and const kinds write vindex and, when it is not 0, vkind.
struct Trait {
    uint32_t name = 0;
    uint8_t kindByte = 0;  // kind in the low 4 bits, attributes in the high 4
    uint32_t id = 0;
    uint32_t index = 0;  // type name, method, class or function
    uint32_t vindex = 0;
    uint8_t vkind = 0;
};

struct Instance {
    uint32_t name = 0;
    uint32_t superName = 0;
    uint8_t flags = 0;  // 0x08 writes protectedNs
    uint32_t protectedNs = 0;
    std::vector<uint32_t> interfaces;
    uint32_t iinit = 0;
    std::vector<Trait> traits;
};

struct Class {
    uint32_t cinit = 0;
    std::vector<Trait> traits;
};

struct Script {
    uint32_t init = 0;
    std::vector<Trait> traits;
};

struct Exception {
    uint32_t from = 0, to = 0, target = 0, type = 0, varName = 0;
};

struct Body {
    uint32_t method = 0;
    uint32_t maxStack = 1, localCount = 1, initScopeDepth = 0, maxScopeDepth = 1;
    Bytes code;
    std::vector<Exception> exceptions;
    std::vector<Trait> traits;
};

class AbcBuilder {
public:
    // Pool entries from index 1 on; a pool without entries is written with count 0.
    std::vector<int32_t> integers;
    std::vector<uint32_t> uintegers;
    std::vector<double> doubles;
    std::vector<std::string> strings;
    std::vector<Namespace> namespaces;
    std::vector<std::vector<uint32_t>> nsSets;
    std::vector<Multiname> multinames;
    std::vector<Method> methods;
    uint32_t metadataCount = 0;  // written as given; no records follow
    // Instance i and class i are written as the two halves of one class.
    std::vector<Instance> instances;
    std::vector<Class> classes;
    std::vector<Script> scripts;
    std::vector<Body> bodies;
    uint16_t minorVersion = 16;
    uint16_t majorVersion = 46;
    Bytes trailing;  // written after the bodies

    // Adders giving the new entry's index.
    uint32_t String(const std::string& text);
    // A package namespace named text.
    uint32_t PackageNamespace(const std::string& text);
    // A QName text in the package namespace "" (made on first use).
    uint32_t QName(const std::string& text);
    uint32_t AddMethod(const Method& method = {});
    // A method with a body of the code.
    uint32_t AddMethodWithBody(const Bytes& code, uint32_t localCount = 1);

    Bytes Build() const;
};

// The smallest block with one class: a method 0 with the body code (the class initialiser of
// "Main"), the class's instance traits, a class initialiser and a script initialiser (method 1,
// returnvoid only).
AbcBuilder MainClass(const Bytes& constructorCode, const std::vector<Trait>& traits = {});

// A variable-length unsigned integer.
Bytes U30(uint32_t value);

}  // namespace abc_testing
