#include "swfplayer/main/as3/abc_input.h"
#include "swfplayer/main/as3/as_3_function.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "tests/swfplayer/main/as3/As3Fixture.h"

#include <functional>

namespace abc_testing {

using namespace swfplayer;

namespace {

// A block with one entry in every pool, so that every index rule has something to miss.
AbcBuilder Base() {
    AbcBuilder abc = MainClass({0xD0, 0x30, 0x47});
    abc.integers = {-5};
    abc.uintegers = {7};
    abc.doubles = {2.5};
    abc.nsSets = {{1}};
    abc.multinames.push_back({0x09, 0, abc.String("multi"), 1, {}});
    return abc;
}

class AbcReaderTest : public As3Fixture {
protected:
    // Loads the movie around the blocks and plays its first frame: true when the frame's
    // DoAction ran.
    bool Plays(const std::vector<Bytes>& blocks, smart_ptr<movie_def_impl>* def) {
        *def = LoadMovie(Movie(blocks));
        if (*def == nullptr) {
            return false;
        }
        smart_ptr<root> instance = create_instance(def->get_ptr());
        instance->advance(0.0f);
        as_value played;
        m_player->get_global()->get_member("played", &played);
        return played.to_base_string() == "yes";
    }
};

TEST_F(AbcReaderTest, each_broken_rule_rejects_the_block_with_one_line_and_the_movie_plays_on) {
    struct Case {
        const char* condition;
        std::function<void(AbcBuilder&)> breakRule;
    };
    const Case cases[] = {
        {"version 46.15 is not 46.16",
         [](AbcBuilder& a) {
             a.minorVersion = 15;
         }},
        {"namespace 2: kind 0x01 is invalid",
         [](AbcBuilder& a) {
             a.namespaces.push_back({0x01, 0});
         }},
        {"namespace name 2: index 99 out of range",
         [](AbcBuilder& a) {
             a.namespaces.push_back({0x08, 99});
         }},
        {"namespace set member of set 2: index 9",
         [](AbcBuilder& a) {
             a.nsSets.push_back({1, 9});
         }},
        {"multiname 3: run-time qualified kind 0x0F",
         [](AbcBuilder& a) {
             a.multinames.push_back({0x0F, 0, 0, 0, {1}});
         }},
        {"multiname 3: kind 0x02 is invalid",
         [](AbcBuilder& a) {
             a.multinames.push_back({0x02, 0, 0, 0, {1}});
         }},
        {"namespace of multiname 3: index 5",
         [](AbcBuilder& a) {
             a.multinames.push_back({0x0D, 5, 1, 0, {}});
         }},
        {"name of multiname 3: index 50",
         [](AbcBuilder& a) {
             a.multinames.push_back({0x0E, 0, 50, 0, {}});
         }},
        {"namespace set of multiname 3: index 4",
         [](AbcBuilder& a) {
             a.multinames.push_back({0x1C, 0, 0, 4, {}});
         }},
        {"return type of method 0: index 9",
         [](AbcBuilder& a) {
             a.methods[0].returnType = 9;
         }},
        {"parameter type of method 0: index 9",
         [](AbcBuilder& a) {
             a.methods[0].paramTypes = {1, 9};
         }},
        {"name of method 1: index 40",
         [](AbcBuilder& a) {
             a.methods[1].name = 40;
         }},
        {"method 0: parameter names are not supported",
         [](AbcBuilder& a) {
             a.methods[0].flags = 0x80;
         }},
        {"optional value of method 0: index 2",
         [](AbcBuilder& a) {
             a.methods[0].options = {{1, 0x06}, {2, 0x03}};
         }},
        {"optional value of method 0: index 3",
         [](AbcBuilder& a) {
             a.methods[0].options = {{3, 0x18}};
         }},
        {"optional value of method 0: value kind 0x02",
         [](AbcBuilder& a) {
             a.methods[0].options = {{1, 0x02}};
         }},
        {"1 metadata records: metadata is not supported",
         [](AbcBuilder& a) {
             a.metadataCount = 1;
         }},
        {"name of instance 0: index 8",
         [](AbcBuilder& a) {
             a.instances[0].name = 8;
         }},
        {"super name of instance 0: index 8",
         [](AbcBuilder& a) {
             a.instances[0].superName = 8;
         }},
        {"protected namespace of instance 0: index 3",
         [](AbcBuilder& a) {
             a.instances[0].flags = 0x08, a.instances[0].protectedNs = 3;
         }},
        {"interface of instance 0: index 3",
         [](AbcBuilder& a) {
             a.instances[0].interfaces = {2, 3};
         }},
        {"initialiser of instance 0: method 2 does not exist",
         [](AbcBuilder& a) {
             a.instances[0].iinit = 2;
         }},
        {"initialiser of class 0: method 7 does not exist",
         [](AbcBuilder& a) {
             a.classes[0].cinit = 7;
         }},
        {"initialiser of script 0: method 2 does not exist",
         [](AbcBuilder& a) {
             a.scripts[0].init = 2;
         }},
        {"trait name 0 is not a QName",
         [](AbcBuilder& a) {
             a.instances[0].traits = {{0, 0, 0, 0, 0, 0}};
         }},
        {"trait name 2 is not a QName",
         [](AbcBuilder& a) {
             a.instances[0].traits = {{2, 1, 0, 0, 0, 0}};
         }},
        {"trait name 3 is not a QName",
         [](AbcBuilder& a) {
             a.instances[0].traits = {{3, 1, 0, 0, 0, 0}};
         }},
        {"trait 1: kind 7 is invalid",
         [](AbcBuilder& a) {
             a.instances[0].traits = {{1, 7, 0, 0, 0, 0}};
         }},
        {"type of trait 1: index 3",
         [](AbcBuilder& a) {
             a.scripts[0].traits = {{1, 0, 0, 3, 0, 0}};
         }},
        {"value of trait 1: index 2",
         [](AbcBuilder& a) {
             a.bodies[0].traits = {{1, 6, 1, 0, 2, 0x06}};
         }},
        {"value of trait 1: index 2",
         [](AbcBuilder& a) {
             a.classes[0].traits = {{1, 0, 1, 0, 2, 0x04}};
         }},
        {"trait 1: method 2 does not exist",
         [](AbcBuilder& a) {
             a.instances[0].traits = {{1, 3, 1, 2, 0, 0}};
         }},
        {"trait 1: method 5 does not exist",
         [](AbcBuilder& a) {
             a.scripts[0].traits = {{1, 5, 1, 5, 0, 0}};
         }},
        {"trait 1: class 0 is not among the 0 classes read so far",
         [](AbcBuilder& a) {
             a.instances[0].traits = {{1, 4, 1, 0, 0, 0}};
         }},
        {"trait 1: metadata is not supported",
         [](AbcBuilder& a) {
             a.scripts[0].traits[0].kindByte = 0x44;
         }},
        {"method body 1: method 2 does not exist",
         [](AbcBuilder& a) {
             a.bodies[1].method = 2;
         }},
        {"method body 1: method 0 has a body already",
         [](AbcBuilder& a) {
             a.bodies[1].method = 0;
         }},
        {"method 0: 65536 locals, more than 65535",
         [](AbcBuilder& a) {
             a.bodies[0].localCount = 65536;
         }},
        {"exception 0 covers 2..1",
         [](AbcBuilder& a) {
             a.bodies[0].exceptions = {{2, 1, 0, 0, 0}};
         }},
        {"exception 0 covers 0..4",
         [](AbcBuilder& a) {
             a.bodies[0].exceptions = {{0, 4, 0, 0, 0}};
         }},
        {"covers 0..3 with target 3",
         [](AbcBuilder& a) {
             a.bodies[0].exceptions = {{0, 3, 3, 0, 0}};
         }},
        {"exception type of method 0: index 3",
         [](AbcBuilder& a) {
             a.bodies[0].exceptions = {{0, 3, 0, 3, 0}};
         }},
        {"exception variable of method 0: index 4",
         [](AbcBuilder& a) {
             a.bodies[0].exceptions = {{0, 3, 0, 0, 4}};
         }},
        {"1 bytes left after the method bodies",
         [](AbcBuilder& a) {
             a.trailing = {0};
         }},
        {"1000 bytes wanted at offset",
         [](AbcBuilder& a) {
             a.strings.push_back(std::string(1000, 'x')), a.trailing = {};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.condition);
        AbcBuilder abc = Base();
        ASSERT_TRUE(Read(abc.Build()));
        c.breakRule(abc);
        Bytes block = abc.Build();
        if (std::string(c.condition).find("bytes wanted") != std::string::npos) {
            block.resize(block.size() / 2);  // the string's length stays, half its bytes go
        }
        ClearLog();
        EXPECT_EQ(Read(block), nullptr);
        EXPECT_EQ(CountLogged("abc_def::read: "), 1);
        EXPECT_NE(LinesWith("abc_def::read: ").find(c.condition), std::string::npos) << LinesWith("abc_def::read:");
        smart_ptr<movie_def_impl> def;
        EXPECT_TRUE(Plays({block}, &def));
        EXPECT_EQ(def->get_abc(), nullptr);
    }
}

TEST_F(AbcReaderTest, a_class_trait_of_a_class_record_may_name_any_class_of_the_block) {
    // The classes are counted once all instance records are read: inside the class records every
    // class of the block exists, later ones included; inside the instance records none does.
    struct Case {
        bool inClassRecord;
        size_t record;
        uint32_t classIndex;
        bool accepted;
    };
    const Case cases[] = {
        {true, 0, 1, true},  {true, 0, 0, true},  {true, 1, 1, true},   {true, 1, 0, true},
        {true, 0, 2, false}, {true, 1, 2, false}, {false, 0, 0, false}, {false, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.inClassRecord) + " " + std::to_string(c.record) + " " +
                     std::to_string(c.classIndex));
        AbcBuilder abc = Base();
        abc.instances.push_back({abc.QName("Second"), 0, 0, 0, {}, 1, {}});
        abc.classes.push_back({1, {}});
        const Trait classTrait = {1, 4, 1, c.classIndex, 0, 0};
        if (c.inClassRecord) {
            abc.classes[c.record].traits = {classTrait};
        } else {
            abc.instances[c.record].traits = {classTrait};
        }
        ClearLog();
        smart_ptr<abc_def> def = Read(abc.Build());
        EXPECT_EQ(def != nullptr, c.accepted) << LinesWith("abc_def::read");
        if (c.accepted) {
            ASSERT_TRUE(def);  // only class records accept them
            const trait_list& traits = def->m_class[c.record]->m_traits;
            ASSERT_EQ(traits.size(), 1u);
            EXPECT_EQ(traits[0]->m_index, static_cast<int>(c.classIndex));
        } else {
            const std::string known = c.inClassRecord ? "2" : "0";
            EXPECT_EQ(CountLogged("abc_def::read: trait 1: class " + std::to_string(c.classIndex) +
                                  " is not among the " + known + " classes"),
                      1)
                << LinesWith("abc_def::read");
        }
    }
}

TEST_F(AbcReaderTest, a_second_block_is_skipped_unread_and_the_first_stays) {
    AbcBuilder first = Base();
    AbcBuilder second = Base();
    second.minorVersion = 0;  // it is never read, so its fault is never seen
    smart_ptr<movie_def_impl> def;
    ASSERT_TRUE(Plays({first.Build(), second.Build()}, &def));
    ASSERT_NE(def->get_abc(), nullptr);
    EXPECT_EQ(def->get_abc_name(), "block0");
    EXPECT_EQ(CountLogged("doABC: the movie already has the block 'block0'; a second block is skipped"), 1);
    EXPECT_EQ(CountLogged("abc_def::read"), 0);
}

TEST_F(AbcReaderTest, the_loader_names_the_block_and_ignores_one_inside_a_sprite) {
    swfkit::TagList sprite(9);
    sprite.DoABC(0, "inner", Base().Build()).ShowFrame();
    set_verbose_parse(true);
    smart_ptr<movie_def_impl> def = LoadBuilt(
        9, [&](swfkit::TagList& t) { t.DefineSprite(1, sprite).DoABC(0, "outer", Base().Build()).ShowFrame(); });
    set_verbose_parse(false);
    ASSERT_TRUE(def && def->get_abc());
    EXPECT_EQ(def->get_abc_name(), "outer");
    EXPECT_EQ(CountLogged("DoABC tag inside a sprite ignored\n"), 1);
    EXPECT_EQ(CountLogged("\n doABC tag loader, abc_name = 'outer'\n"), 1);
    EXPECT_EQ(CountLogged("abc_name = 'inner'"), 0);
}

TEST_F(AbcReaderTest, counts_larger_than_the_bytes_left_are_refused_before_anything_is_allocated) {
    const std::pair<Bytes, const char*> cases[] = {
        {{16, 0, 46, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 1, 2, 3}, "integer count 4294967295 exceeds the 3 bytes left"},
        {{16, 0, 46, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0}, "method count 4294967295 exceeds"},
        {{16, 0, 46, 0, 0, 0, 0, 4, 0x10, 1}, "string count 4 exceeds the 2 bytes left"},
        {{16, 0, 46, 0, 0, 0, 0, 0, 0, 0, 0}, "the method section starts at the end of the tag"},
    };
    for (const auto& [block, condition] : cases) {
        ClearLog();
        EXPECT_EQ(Read(block), nullptr) << condition;
        EXPECT_EQ(CountLogged(condition), 1) << LinesWith("abc_def");
    }
}

TEST_F(AbcReaderTest, every_prefix_of_a_valid_block_is_rejected_cleanly) {
    AbcBuilder abc = Base();
    abc.bodies[0].exceptions = {{0, 2, 1, 1, 0}};
    abc.methods[0].options = {{1, 0x03}, {0, 0x0C}};
    Bytes block = abc.Build();
    ASSERT_TRUE(Read(block));
    for (size_t size = 0; size < block.size(); size++) {
        ClearLog();
        EXPECT_EQ(Read(Bytes(block.begin(), block.begin() + static_cast<long>(size))), nullptr) << size;
        EXPECT_EQ(CountLogged("abc_def::read: "), 1) << size;
    }
}

TEST_F(AbcReaderTest, every_pool_kind_and_record_is_kept_as_written) {
    AbcBuilder abc = Base();
    abc.uintegers = {7, 0xFFFFFFFF};
    abc.strings.push_back(std::string("a\0b", 3));
    uint32_t ab = static_cast<uint32_t>(abc.strings.size());
    for (uint8_t kind : {0x05, 0x08, 0x17, 0x18, 0x19, 0x1A}) {
        abc.namespaces.push_back({kind, ab});
    }
    abc.multinames.push_back({0x0D, 2, ab, 0, {}});
    abc.multinames.push_back({0x0E, 0, 3, 2, {}});
    abc.nsSets.push_back({7, 0});
    abc.multinames.push_back({0x1B, 0, 0, 2, {}});
    abc.methods[0].paramTypes = {1, 2};
    abc.methods[0].options = {{1, 0x03}, {2, 0x04}, {1, 0x06}, {ab, 0x01}, {7, 0x1A}, {0, 0x0B}};
    abc.instances[0].flags = 0x08 | 0x01;
    abc.instances[0].protectedNs = 3;
    abc.instances[0].interfaces = {2};
    abc.instances[0].traits = {{1, 0x00, 1, 2, 1, 0x03}, {1, 0x16, 2, 0, 0, 0}, {1, 0x01, 3, 1, 0, 0},
                               {1, 0x02, 4, 0, 0, 0},    {1, 0x03, 5, 0, 0, 0}, {1, 0x05, 6, 1, 0, 0}};
    abc.bodies[0].exceptions = {{0, 3, 2, 1, 2}};
    smart_ptr<abc_def> def = Read(abc.Build());
    ASSERT_TRUE(def) << LinesWith("abc_def");
    EXPECT_EQ(def->m_integer, (std::vector<int32_t>{0, -5}));
    EXPECT_EQ(def->m_uinteger, (std::vector<uint32_t>{0, 7, 4294967295u}));
    EXPECT_EQ(def->m_double, (std::vector<double>{0.0, 2.5}));
    EXPECT_EQ(def->m_string[ab], "ab");
    EXPECT_EQ(def->m_string[0], "");
    ASSERT_EQ(def->m_namespace.size(), 8u);
    EXPECT_EQ(def->m_namespace[7].m_kind, 0x1A);
    EXPECT_EQ(def->get_namespace_name(7), "ab");
    EXPECT_EQ(def->m_ns_set, (std::vector<std::vector<int>>{{}, {1}, {7, 0}}));
    const multiname& multi = def->m_multiname[4];  // Multiname {name 3, ns_set 2}
    EXPECT_EQ(std::vector<int>({multi.m_kind, multi.m_name, multi.m_ns_set, multi.m_ns, multi.m_flags}),
              std::vector<int>({0x0E, 3, 2, 0, 0}));
    EXPECT_EQ(def->m_multiname[5].m_kind, 0x1B);
    EXPECT_EQ(def->m_multiname[5].m_ns_set, 2);
    EXPECT_EQ(def->get_multiname_name(3), "ab");
    as_3_function* constructor = def->find_method(0);
    EXPECT_EQ(constructor->m_param_type, (std::vector<int>{1, 2}));
    ASSERT_EQ(constructor->m_options.size(), 6u);
    EXPECT_EQ(constructor->m_options[4].m_kind, 0x1A);
    ASSERT_EQ(constructor->m_exception.size(), 1u);
    EXPECT_EQ(constructor->m_exception[0]->m_var_name, 2u);
    EXPECT_EQ(constructor->m_code, (std::vector<uint8_t>{0xD0, 0x30, 0x47}));
    const instance_info& instance = *def->m_instance[0];
    EXPECT_EQ(instance.m_protected_ns, 3);
    EXPECT_EQ(instance.m_interfaces, std::vector<int>{2});
    ASSERT_EQ(instance.m_traits.size(), 6u);
    EXPECT_EQ(instance.m_traits[0]->m_vkind, 0x03);
    EXPECT_EQ(instance.m_traits[1]->m_kind, 6);
    EXPECT_EQ(instance.m_traits[1]->m_attributes, 1);
    EXPECT_EQ(def->get_instance_trait(0, 2).m_function, def->find_method(1));
    EXPECT_EQ(def->get_instance_trait(0, 5).m_function, nullptr);
    // The class name is not used: any name gives the first instance's initialiser.
    EXPECT_EQ(def->get_class_constructor("Other"), constructor);
    EXPECT_EQ(def->get_instance_trait_count(1), -1);
}

TEST_F(AbcReaderTest, a_method_gets_its_prototype_when_the_movie_first_gets_the_method) {
    // A block's methods cost no prototype object each until the movie can reach them: through
    // the class constructor or an instance trait.
    AbcBuilder abc = Base();
    abc.instances[0].traits = {{1, 0x01, 1, 1, 0, 0}};
    abc.AddMethod();
    smart_ptr<abc_def> def = Read(abc.Build());
    ASSERT_TRUE(def) << LinesWith("abc_def");
    for (uint32_t method : {0u, 1u, 2u}) {
        EXPECT_FALSE(def->find_method(method)->has_own_member("prototype")) << method;
    }
    EXPECT_EQ(def->get_class_constructor("Main"), def->find_method(0));
    EXPECT_EQ(def->get_instance_trait(0, 0).m_function, def->find_method(1));
    as_value first;
    for (uint32_t method : {0u, 1u}) {
        as_value prototype;
        ASSERT_TRUE(def->find_method(method)->get_member("prototype", &prototype)) << method;
        ASSERT_NE(prototype.to_object(), nullptr) << method;
        EXPECT_FALSE(prototype.to_object()->is(AS_FUNCTION)) << method;
        EXPECT_NE(prototype.to_object(), first.to_object()) << "each method has its own";
        first = prototype;
    }
    // Handed out again, a method keeps the prototype it has, with what script put there.
    first.to_object()->set_member("kept", as_value(1));
    def->get_instance_trait(0, 0);
    as_value again;
    ASSERT_TRUE(def->find_method(1)->get_member("prototype", &again));
    EXPECT_EQ(again.to_object(), first.to_object());
    EXPECT_FALSE(def->find_method(2)->has_own_member("prototype"));
}

TEST_F(AbcReaderTest, empty_pools_stay_empty_yet_index_0_names_the_default) {
    AbcBuilder abc;
    abc.AddMethodWithBody({0x2C, 0x00, 0x2D, 0x00, 0x2F, 0x00, 0x47});
    abc.methods[0].returnType = 0;
    set_verbose_parse(true);
    smart_ptr<abc_def> def = Read(abc.Build());
    set_verbose_parse(false);
    ASSERT_TRUE(def) << LinesWith("abc_def");
    EXPECT_TRUE(def->m_integer.empty() && def->m_string.empty() && def->m_multiname.empty());
    EXPECT_EQ(*def->find_string(0), "");
    EXPECT_EQ(def->find_string(1), nullptr);
    EXPECT_EQ(def->get_class_constructor("Main"), nullptr);
    for (const char* pool : {"integer pool", "uinteger pool", "double pool", "string pool", "namespace pool",
                             "namespace sets", "multiname pool"}) {
        EXPECT_EQ(CountLogged(std::string("cpool_info: no ") + pool + "\n"), 1) << pool;
    }
}

TEST_F(AbcReaderTest, a_five_byte_u30_gives_all_32_bits) {
    abc_input in(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x80}.data(), 6);
    EXPECT_EQ(in.read_vu32(), 4294967295u);
    EXPECT_TRUE(in.ok());
    EXPECT_EQ(in.read_vu32(), 0u);  // its continuation runs past the end
    EXPECT_FALSE(in.ok());
    EXPECT_EQ(in.get_failure(), "1 bytes wanted at offset 6 run past the end of the tag");
}

}  // namespace

}  // namespace abc_testing
