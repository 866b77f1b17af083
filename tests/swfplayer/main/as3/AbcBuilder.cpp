#include "tests/swfplayer/main/as3/AbcBuilder.h"

namespace abc_testing {

namespace {

void WriteTraits(swfkit::BitWriter& out, const std::vector<Trait>& traits) {
    out.WriteVu32(static_cast<uint32_t>(traits.size()));
    for (const Trait& t : traits) {
        out.WriteVu32(t.name);
        out.WriteU8(t.kindByte);
        out.WriteVu32(t.id);
        out.WriteVu32(t.index);
        int kind = t.kindByte & 0x0F;
        if (kind == 0 || kind == 6) {
            out.WriteVu32(t.vindex);
            if (t.vindex != 0) {
                out.WriteU8(t.vkind);
            }
        }
    }
}

// count + 1 when there are entries, else 0; then each entry.
template <class Entry, class Write>
void WritePool(swfkit::BitWriter& out, const std::vector<Entry>& pool, Write write) {
    out.WriteVu32(pool.empty() ? 0 : static_cast<uint32_t>(pool.size() + 1));
    for (const Entry& entry : pool) {
        write(entry);
    }
}

void WriteMultiname(swfkit::BitWriter& out, const Multiname& m) {
    out.WriteU8(m.kind);
    switch (m.kind) {
    case 0x07:
    case 0x0D:
        out.WriteVu32(m.ns);
        out.WriteVu32(m.name);
        break;
    case 0x09:
    case 0x0E:
        out.WriteVu32(m.name);
        out.WriteVu32(m.nsSet);
        break;
    case 0x1B:
    case 0x1C: out.WriteVu32(m.nsSet); break;
    default: out.WriteBytes(m.raw);
    }
}

void WriteMethod(swfkit::BitWriter& out, const Method& m) {
    out.WriteVu32(static_cast<uint32_t>(m.paramTypes.size()));
    out.WriteVu32(m.returnType);
    for (uint32_t type : m.paramTypes) {
        out.WriteVu32(type);
    }
    out.WriteVu32(m.name);
    out.WriteU8(static_cast<uint8_t>(m.flags | (m.options.empty() ? 0 : 0x08)));
    if (!m.options.empty()) {
        out.WriteVu32(static_cast<uint32_t>(m.options.size()));
        for (const auto& [value, kind] : m.options) {
            out.WriteVu32(value);
            out.WriteU8(kind);
        }
    }
}

void WriteBody(swfkit::BitWriter& out, const Body& b) {
    for (uint32_t value : {b.method, b.maxStack, b.localCount, b.initScopeDepth, b.maxScopeDepth}) {
        out.WriteVu32(value);
    }
    out.WriteVu32(static_cast<uint32_t>(b.code.size()));
    out.WriteBytes(b.code);
    out.WriteVu32(static_cast<uint32_t>(b.exceptions.size()));
    for (const Exception& e : b.exceptions) {
        for (uint32_t value : {e.from, e.to, e.target, e.type, e.varName}) {
            out.WriteVu32(value);
        }
    }
    WriteTraits(out, b.traits);
}

}  // namespace

uint32_t AbcBuilder::String(const std::string& text) {
    strings.push_back(text);
    return static_cast<uint32_t>(strings.size());
}

uint32_t AbcBuilder::PackageNamespace(const std::string& text) {
    namespaces.push_back({0x16, String(text)});
    return static_cast<uint32_t>(namespaces.size());
}

uint32_t AbcBuilder::QName(const std::string& text) {
    if (namespaces.empty()) {
        PackageNamespace("");
    }
    multinames.push_back({0x07, 1, String(text), 0, {}});
    return static_cast<uint32_t>(multinames.size());
}

uint32_t AbcBuilder::AddMethod(const Method& method) {
    methods.push_back(method);
    return static_cast<uint32_t>(methods.size() - 1);
}

uint32_t AbcBuilder::AddMethodWithBody(const Bytes& code, uint32_t localCount) {
    uint32_t method = AddMethod();
    Body body;
    body.method = method;
    body.localCount = localCount;
    body.code = code;
    bodies.push_back(body);
    return method;
}

Bytes AbcBuilder::Build() const {
    swfkit::BitWriter out;
    out.WriteU16(minorVersion);
    out.WriteU16(majorVersion);
    WritePool(out, integers, [&](int32_t v) { out.WriteVu32(static_cast<uint32_t>(v)); });
    WritePool(out, uintegers, [&](uint32_t v) { out.WriteVu32(v); });
    WritePool(out, doubles, [&](double v) { out.WriteDouble(v); });
    WritePool(out, strings, [&](const std::string& s) {
        out.WriteVu32(static_cast<uint32_t>(s.size()));
        out.WriteBytes(Bytes(s.begin(), s.end()));
    });
    WritePool(out, namespaces, [&](const Namespace& ns) {
        out.WriteU8(ns.kind);
        out.WriteVu32(ns.name);
    });
    WritePool(out, nsSets, [&](const std::vector<uint32_t>& set) {
        out.WriteVu32(static_cast<uint32_t>(set.size()));
        for (uint32_t ns : set) {
            out.WriteVu32(ns);
        }
    });
    WritePool(out, multinames, [&](const Multiname& m) { WriteMultiname(out, m); });
    out.WriteVu32(static_cast<uint32_t>(methods.size()));
    for (const Method& m : methods) {
        WriteMethod(out, m);
    }
    out.WriteVu32(metadataCount);
    out.WriteVu32(static_cast<uint32_t>(instances.size()));
    for (const Instance& i : instances) {
        out.WriteVu32(i.name);
        out.WriteVu32(i.superName);
        out.WriteU8(i.flags);
        if (i.flags & 0x08) {
            out.WriteVu32(i.protectedNs);
        }
        out.WriteVu32(static_cast<uint32_t>(i.interfaces.size()));
        for (uint32_t name : i.interfaces) {
            out.WriteVu32(name);
        }
        out.WriteVu32(i.iinit);
        WriteTraits(out, i.traits);
    }
    for (const Class& c : classes) {
        out.WriteVu32(c.cinit);
        WriteTraits(out, c.traits);
    }
    out.WriteVu32(static_cast<uint32_t>(scripts.size()));
    for (const Script& s : scripts) {
        out.WriteVu32(s.init);
        WriteTraits(out, s.traits);
    }
    out.WriteVu32(static_cast<uint32_t>(bodies.size()));
    for (const Body& b : bodies) {
        WriteBody(out, b);
    }
    out.WriteBytes(trailing);
    return out.GetBytes();
}

AbcBuilder MainClass(const Bytes& constructorCode, const std::vector<Trait>& traits) {
    AbcBuilder abc;
    uint32_t main = abc.QName("Main");
    uint32_t constructor = abc.AddMethodWithBody(constructorCode);
    uint32_t initialiser = abc.AddMethodWithBody({0x47});
    abc.instances.push_back({main, 0, 0, 0, {}, constructor, traits});
    abc.classes.push_back({initialiser, {}});
    abc.scripts.push_back({initialiser, {{main, 4, 1, 0, 0, 0}}});
    return abc;
}

Bytes U30(uint32_t value) {
    swfkit::BitWriter out;
    out.WriteVu32(value);
    return out.GetBytes();
}

}  // namespace abc_testing
