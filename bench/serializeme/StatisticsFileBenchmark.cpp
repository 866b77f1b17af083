// Loading, appending one record to, and saving a file of 10,000 match results, through the XML
// resource path (PhysFS, tinyxml, replace-on-close output) and through the binary buffer.
#include "app/FileStorage.h"
#include "app/ResourceXml.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/VectorSerialization.h"
#include "serializeme/XmlStorageBuffer.h"

#include <benchmark/benchmark.h>
#include <physfs.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr int kRecords = 10000;

// One player's part in a match.
class PlayerResult : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& b) override {
        if (b.IsWriting()) {
            b.WriteString("character", character);
            b.WriteString("controls", controls);
            b.WriteInt("score", score);
            b.WriteInt("spits", spits);
            b.WriteFloat("timeHolding", timeHolding);
            b.WriteBool("bot", bot);
        } else {
            b.ReadString("character", character);
            b.ReadString("controls", controls);
            b.ReadInt("score", score);
            b.ReadInt("spits", spits);
            b.ReadFloat("timeHolding", timeHolding);
            b.ReadBool("bot", bot);
        }
        return true;
    }
    const char* TypeName() const override { return "playerstats"; }

    std::string character = "data/players/hooligan.xml";
    std::string controls = "data/controls/keyboard_arrows.xml";
    int32_t score = 7;
    int32_t spits = 42;
    float timeHolding = 12.5f;
    bool bot = false;
};

// One match's result.
class MatchResult : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& b) override {
        if (b.IsWriting()) {
            b.WriteInt("winner", winner);
            b.WriteString("level", level);
            b.WriteObject("player1", player1);
            b.WriteObject("player2", player2);
        } else {
            b.ReadInt("winner", winner);
            b.ReadString("level", level);
            b.ReadObject("player1", player1);
            b.ReadObject("player2", player2);
        }
        return true;
    }
    const char* TypeName() const override { return "gamestats"; }

    int32_t winner = 1;
    std::string level = "data/levels/1_nanomill.xml";
    PlayerResult player1;
    PlayerResult player2;
};

// The whole store: a list of results.
class Store : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& b) override {
        if (b.IsWriting()) {
            sme::WriteVector(b, "statistics", results);
        } else {
            sme::ReadVector(b, "statistics", results);
        }
        return true;
    }
    const char* TypeName() const override { return "statistics"; }

    std::vector<MatchResult> results;
};

// A virtual file system over a fresh folder holding "stats.xml" and "stats.xml.bin" with
// 10,000 records each; made once for the whole program.
class Files {
public:
    Files() : m_Folder(std::filesystem::temp_directory_path() / "pondorix-bench-serializeme") {
        std::filesystem::remove_all(m_Folder);
        std::filesystem::create_directories(m_Folder);
        PHYSFS_init(nullptr);
        PHYSFS_mount(m_Folder.c_str(), nullptr, 0);
        PHYSFS_setWriteDir(m_Folder.c_str());
        TiXmlIOProxy::SetCurrent(&m_Proxy);

        Store store;
        store.results.resize(kRecords);
        SaveXmlObject(store, "stats.xml", "stats");
        sme::BinaryStorageBuffer writer(true);
        writer.WriteObject(nullptr, store);
        std::ofstream(m_Folder / "stats.xml.bin", std::ios::binary) << writer.GetData();
    }

private:
    std::filesystem::path m_Folder;
    TinyxmlPhysfsProxy m_Proxy;
};

void Prepare() {
    static Files files;
}

void BM_XmlLoad(benchmark::State& state) {
    Prepare();
    for (auto _ : state) {
        Store store;
        LoadXmlObject(store, "stats.xml", "stats");
        benchmark::DoNotOptimize(store.results.size());
    }
}
BENCHMARK(BM_XmlLoad)->Unit(benchmark::kMillisecond);

void BM_XmlSave(benchmark::State& state) {
    Prepare();
    Store store;
    store.results.resize(kRecords);
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveXmlObject(store, "saved.xml", "stats"));
    }
}
BENCHMARK(BM_XmlSave)->Unit(benchmark::kMillisecond);

void BM_XmlLoadAppendSave(benchmark::State& state) {
    Prepare();
    for (auto _ : state) {
        Store store;
        LoadXmlObject(store, "stats.xml", "stats");
        store.results.emplace_back();
        benchmark::DoNotOptimize(SaveXmlObject(store, "appended.xml", "stats"));
    }
}
BENCHMARK(BM_XmlLoadAppendSave)->Unit(benchmark::kMillisecond);

void BM_BinaryLoad(benchmark::State& state) {
    Prepare();
    for (auto _ : state) {
        FileStorage storage("stats.xml", false);
        Store store;
        storage.GetBuffer().ReadObject(nullptr, store);
        benchmark::DoNotOptimize(store.results.size());
    }
}
BENCHMARK(BM_BinaryLoad)->Unit(benchmark::kMillisecond);

void BM_BinaryLoadAppendWrite(benchmark::State& state) {
    Prepare();
    for (auto _ : state) {
        FileStorage storage("stats.xml", false);
        Store store;
        storage.GetBuffer().ReadObject(nullptr, store);
        store.results.emplace_back();
        sme::BinaryStorageBuffer writer(true);
        writer.WriteObject(nullptr, store);
        benchmark::DoNotOptimize(writer.GetData().size());
    }
}
BENCHMARK(BM_BinaryLoadAppendWrite)->Unit(benchmark::kMillisecond);

}  // namespace
