#include "serializeme/ObjectFactoryCentral.h"

#include "SampleRecords.h"
#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/XmlStorageBuffer.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A shape record of its own type id, made by the test factories below.
class Shape : public sample::Point {
public:
    explicit Shape(int id = 7) : m_Id(id) {}
    const char* TypeName() const override { return m_Id == 7 ? "shape" : "other"; }
    bool IsOfType(int id) const override { return id == m_Id; }
    int TypeId() const override { return m_Id; }

private:
    int m_Id;
};

// Makes shapes of one type id under one name, counting what it made.
class ShapeFactory : public sme::ObjectFactory {
public:
    ShapeFactory(int id, const char* name, int* made) : m_Id(id), m_Name(name), m_Made(made) {}
    bool CanCreate(int id) const override { return id == m_Id; }
    sme::Serializable* Create(int id) const override {
        ++*m_Made;
        return new Shape(id);
    }
    int TypeIdOf(const char* typeName) const override { return std::string(typeName) == m_Name ? m_Id : 0; }
    const char* TypeNameOf(int) const override { return m_Name; }

private:
    int m_Id;
    const char* m_Name;
    int* m_Made;
};

// Registered once for the whole test program; the registry keeps factories to the end. They
// know only ids 7 and 9, so everything the game stores (type id 1) still has no factory.
int g_FirstMade = 0;
int g_SecondMade = 0;
void RegisterTestFactories() {
    static const bool registered = [] {
        sme::ObjectFactoryCentral& central = sme::ObjectFactoryCentral::GetInstance();
        central.AddFactory(new ShapeFactory(7, "shape", &g_FirstMade));
        central.AddFactory(new ShapeFactory(7, "shape-again", &g_SecondMade));
        central.AddFactory(new ShapeFactory(9, "other", &g_SecondMade));
        central.AddFactory(nullptr);
        return true;
    }();
    (void)registered;
}

}  // namespace

TEST(ObjectFactoryCentral, game_records_have_no_factory) {
    RegisterTestFactories();
    const sme::ObjectFactoryCentral& central = sme::ObjectFactoryCentral::GetInstance();
    EXPECT_FALSE(central.CanCreate(1));
    EXPECT_EQ(central.Create(1), nullptr);
    EXPECT_EQ(central.TypeIdOf("point"), 0);
    EXPECT_STREQ(central.TypeNameOf(1), "");
}

TEST(ObjectFactoryCentral, factories_are_asked_in_order_of_registration) {
    RegisterTestFactories();
    const sme::ObjectFactoryCentral& central = sme::ObjectFactoryCentral::GetInstance();
    EXPECT_TRUE(central.CanCreate(9));
    EXPECT_EQ(central.TypeIdOf("shape"), 7);
    EXPECT_EQ(central.TypeIdOf("shape-again"), 7);
    EXPECT_STREQ(central.TypeNameOf(7), "shape");
    const int before = g_FirstMade;
    std::unique_ptr<sme::Serializable> made(central.Create(7));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->TypeId(), 7);
    EXPECT_EQ(g_FirstMade, before + 1);
}

TEST(ObjectFactoryCentral, registered_types_round_trip_as_pointers_and_vectors_through_both_buffers) {
    RegisterTestFactories();
    Shape a(7), b(9);
    a.x = 11;
    b.y = 22;
    std::vector<sme::Serializable*> list = {&a, &b};

    sme::XmlStorageBuffer xmlWriter(true);
    xmlWriter.WriteObjectPointer("one", &a);
    xmlWriter.WriteObjectVector("many", list);
    sme::BinaryStorageBuffer binaryWriter(true);
    binaryWriter.WriteObjectPointer("one", &a);
    binaryWriter.WriteObjectVector("many", list);

    sme::XmlStorageBuffer xmlReader(false);
    xmlReader.SetRoot(xmlWriter.GetRoot());
    sme::BinaryStorageBuffer binaryReader(false);
    binaryReader.SetData(binaryWriter.GetData());
    for (sme::StorageBuffer* reader : {static_cast<sme::StorageBuffer*>(&xmlReader),
                                       static_cast<sme::StorageBuffer*>(&binaryReader)}) {
        sme::Serializable* one = nullptr;
        ASSERT_TRUE(reader->ReadObjectPointer("one", one));
        std::unique_ptr<sme::Serializable> owned(one);
        ASSERT_NE(one, nullptr);
        EXPECT_EQ(one->TypeId(), 7);
        EXPECT_EQ(static_cast<Shape*>(one)->x, 11);

        std::vector<sme::Serializable*> read;
        ASSERT_TRUE(reader->ReadObjectVector("many", read));
        ASSERT_EQ(read.size(), 2u);
        EXPECT_EQ(read[1]->TypeId(), 9);
        EXPECT_EQ(static_cast<Shape*>(read[1])->y, 22);
        for (sme::Serializable* object : read) {
            delete object;
        }
    }
}

TEST(ObjectFactoryCentral, a_held_object_of_another_type_is_not_read_into) {
    RegisterTestFactories();
    Shape stored(9);
    sme::BinaryStorageBuffer writer(true);
    writer.WriteObjectPointer(nullptr, &stored);
    sme::BinaryStorageBuffer reader(false);
    reader.SetData(writer.GetData());
    Shape held(7);
    sme::Serializable* object = &held;
    EXPECT_FALSE(reader.ReadObjectPointer(nullptr, object));
    EXPECT_EQ(object, &held);
}
