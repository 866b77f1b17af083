#include "SampleRecords.h"
#include "serializeme/ObjectFactoryCentral.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A record of its own type id and name, made by the test factories below.
class Shape : public sample::Point {
public:
    Shape(int id, const char* name) : m_Id(id), m_Name(name) {}
    const char* TypeName() const override { return m_Name; }
    bool IsOfType(int id) const override { return id == m_Id; }
    int TypeId() const override { return m_Id; }

private:
    int m_Id;
    const char* m_Name;
};

// Makes shapes of one type id under one name.
class ShapeFactory : public sme::ObjectFactory {
public:
    ShapeFactory(int id, const char* name) : m_Id(id), m_Name(name) {}
    bool CanCreate(int id) const override { return id == m_Id; }
    sme::Serializable* Create(int id) const override { return new Shape(id, m_Name); }
    int TypeIdOf(const char* typeName) const override { return std::string(typeName) == m_Name ? m_Id : 0; }
    const char* TypeNameOf(int) const override { return m_Name; }

private:
    int m_Id;
    const char* m_Name;
};

// Registered once for the whole test program, since the registry keeps its factories to the
// end. They know only ids 7 and 9, so everything the game stores (type id 1) has no factory.
const sme::ObjectFactoryCentral& Central() {
    static const bool registered = [] {
        sme::ObjectFactoryCentral& central = sme::ObjectFactoryCentral::GetInstance();
        central.AddFactory(new ShapeFactory(7, "shape"));
        central.AddFactory(new ShapeFactory(7, "shape-again"));
        central.AddFactory(new ShapeFactory(9, "other"));
        central.AddFactory(nullptr);
        return true;
    }();
    (void)registered;
    return sme::ObjectFactoryCentral::GetInstance();
}

}  // namespace

TEST(ObjectFactoryCentral, factories_are_asked_in_order_of_registration_and_game_records_have_none) {
    const sme::ObjectFactoryCentral& central = Central();
    EXPECT_FALSE(central.CanCreate(1));
    EXPECT_EQ(central.Create(1), nullptr);
    EXPECT_EQ(central.TypeIdOf("point"), 0);
    EXPECT_STREQ(central.TypeNameOf(1), "");

    EXPECT_TRUE(central.CanCreate(9));
    EXPECT_EQ(central.TypeIdOf("shape-again"), 7);
    EXPECT_STREQ(central.TypeNameOf(7), "shape");
    std::unique_ptr<sme::Serializable> made(central.Create(7));
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(made->TypeName(), "shape");
}

// Registered types round-trip as pointers and vectors; without a factory polymorphic reads fail,
// and stored nulls read back as null.
TEST(ObjectFactoryCentral, polymorphic_members_round_trip_when_registered_and_fail_without_a_factory) {
    Central();
    sample::Point p(1, 2);
    Shape a(7, "shape"), b(9, "other");
    a.x = 11;
    b.y = 22;
    sample::Scripted written([&](sme::StorageBuffer& buffer) {
        buffer.WriteObjectPointer("missing", nullptr);
        buffer.WriteObjectPointer("present", &p);
        buffer.WriteObjectVector("list", {&p});
        buffer.WriteObjectPointer("point", &p);
        buffer.WriteObjectPointer("one", &a);
        buffer.WriteObjectVector("many", {&a, &b});
        buffer.WriteObjectPointer("shape", &a);
    });
    for (sample::Format format : {sample::Format::XmlTree, sample::Format::Binary}) {
        SCOPED_TRACE(sample::NameOf(format));
        const bool binary = format == sample::Format::Binary;
        sample::Point heldPoint;
        Shape heldShape(9, "other");
        sme::Serializable* cleared = new sample::Point(5, 5);
        sme::Serializable *made = nullptr, *one = nullptr, *point = &heldPoint, *shape = &heldShape;
        std::vector<sme::Serializable*> list, many;
        sample::Scripted read([&](sme::StorageBuffer& buffer) {
            EXPECT_TRUE(buffer.ReadObjectPointer("missing", cleared));
            EXPECT_FALSE(buffer.ReadObjectPointer("present", made));
            EXPECT_FALSE(buffer.ReadObjectVector("list", list));
            // A held object must have the stored type id: the binary stream stores it, while
            // XML learns it from the registry, which knows no id for "point".
            EXPECT_EQ(binary, buffer.ReadObjectPointer("point", point));
            EXPECT_TRUE(buffer.ReadObjectPointer("one", one));
            EXPECT_TRUE(buffer.ReadObjectVector("many", many));
            EXPECT_FALSE(buffer.ReadObjectPointer("shape", shape));  // held, of another type
        });
        sample::RoundTrip(format, written, read);
        std::unique_ptr<sme::Serializable> owned(one);
        std::vector<std::unique_ptr<sme::Serializable>> ownedMany(many.begin(), many.end());
        EXPECT_EQ(cleared, nullptr);
        EXPECT_EQ(made, nullptr);
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(point, &heldPoint);
        EXPECT_EQ(heldPoint, binary ? p : sample::Point());
        ASSERT_NE(one, nullptr);
        EXPECT_EQ(*static_cast<Shape*>(one), a);
        EXPECT_STREQ(one->TypeName(), "shape");
        ASSERT_EQ(many.size(), 2u);
        EXPECT_EQ(*static_cast<Shape*>(many[1]), b);
        EXPECT_STREQ(many[1]->TypeName(), "other");
        EXPECT_EQ(shape, &heldShape);
        EXPECT_EQ(heldShape.x, -1);
    }
}
