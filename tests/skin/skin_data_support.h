// Helpers of the skin component tests: small skin files made from a definition text and
// flat-coloured BMP entries, the stored-property form of a skin file, and a skin manager
// that only records what the component asks of it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SkinContainerWriter.h"
#include "SkinManagerLink.h"
#include "WinSkinData.h"

namespace skindata {

// A 24-bit BMP of `colours.size()` cells side by side, each cellWidth x height of one
// colour (0xRRGGBB).
std::vector<uint8_t> CellsBmp(int cellWidth, int height, const std::vector<uint32_t>& colours);
inline std::vector<uint8_t> FlatBmp(int width, int height, uint32_t colour) {
    return CellsBmp(width, height, {colour});
}

// A skin file: the definition text as "skin.ini", then the entries.
std::vector<uint8_t> MakeSkin(const std::string& definition, const std::vector<SkinFileEntry>& entries = {});
// The SkinStream property's bytes for a skin file: its length, then the file.
TBytes StreamOf(const std::vector<uint8_t>& skinFile);
// Hands a skin file to the component as a stored form does; returns !NoSkin().
bool LoadInto(TSkinData& data, const std::vector<uint8_t>& skinFile);

// 0xRRGGBB as the platform's COLORREF.
COLORREF Ref(uint32_t rgb);

// Records every request, as text: "Register", "Unregister", "InstallHook",
// "Schedule 1 250", "SkinWindow", "Refresh".
class RecordingManager : public TSkinManagerLink {
public:
    explicit RecordingManager(std::vector<std::string>& log) : log_(log) {}
    void RegisterSkinData(TSkinData*) override { log_.push_back("Register"); }
    void UnregisterSkinData(TSkinData*) override { log_.push_back("Unregister"); }
    void InstallHook() override { log_.push_back("InstallHook"); }
    void Schedule(int action, int ms) override {
        log_.push_back("Schedule " + std::to_string(action) + " " + std::to_string(ms));
    }
    bool SkinWindow(HWND window) override {
        log_.push_back("SkinWindow");
        lastWindow = window;
        return false;
    }
    void RefreshFormSkins() override { log_.push_back("Refresh"); }
    HWND lastWindow = nullptr;

private:
    std::vector<std::string>& log_;
};

// Each test starts without a manager; the first one made records into `log`.
class SkinDataTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    RecordingManager* Manager() const { return dynamic_cast<RecordingManager*>(SkinManager()); }
    std::vector<std::string> log;
};

}  // namespace skindata
