// The default skin for the Windows benchmarks that skin windows of their own: read from
// the benchmark program's resources (DEFAULTSKIN, the stream the programs' main forms
// store) and handed to the process's skin manager.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "Forms.h"
#include "SkinManage.h"
#include "WinSkinData.h"

namespace bench {

// The skin stored in this program, read into data; false (said on stderr) when the
// program holds none or it does not load.
inline bool ReadDefaultSkin(TSkinData& data) {
    HRSRC res = FindResourceA(nullptr, "DEFAULTSKIN", RT_RCDATA);
    HGLOBAL global = res ? LoadResource(nullptr, res) : nullptr;
    if (!global) {
        std::fprintf(stderr, "no default skin in the program\n");
        return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(LockResource(global));
    data.ReadSkinStream(TBytes(bytes, bytes + SizeofResource(nullptr, res)));
    if (data.NoSkin()) {
        std::fprintf(stderr, "the default skin did not load\n");
        return false;
    }
    return true;
}

// The application set up with the skin classes, the stored skin read into a new data
// (kept in data), and the process's skin manager with that skin, switched on and ready to
// skin the windows it is given; nullptr (said on stderr) when the skin or the manager fails.
inline TSkinManage* StartSkinnedApplication(std::unique_ptr<TSkinData>& data) {
    Application->Initialize();
    RegisterSkinClasses();
    data = std::make_unique<TSkinData>(nullptr);
    if (!ReadDefaultSkin(*data)) return nullptr;
    TSkinManage::InstallFactory();
    TSkinManage* manager = TSkinManage::Instance();
    if (!manager) manager = dynamic_cast<TSkinManage*>(CreateSkinManager());
    if (!manager) {
        std::fprintf(stderr, "no skin manager\n");
        return nullptr;
    }
    manager->RegisterSkinData(data.get());
    manager->SetEnabled(true);
    manager->SetReadyState(1);
    return manager;
}

}  // namespace bench
