// Packages that exercise the whole installation: a main program, components
// with and without a registration parameter, an ordinary file, a folder tree
// a few levels deep, menu folders and shortcuts and the uninstall link. The
// package fuzzer is seeded with them and the reliability tests cut and
// damage them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "package_model.h"

namespace variants {

inline pkgbuild::Package Probe() {
    pkgbuild::Package p;
    p.productName = "Probe Suite";
    p.licenseText = "Licence of the probe suite.";
    p.readmeText = "Read me.";
    p.gradientOn = true;
    p.captionOn = true;
    p.programShortcutOn = true;
    p.menuEntries = {{"Probe Suite", "Probe Suite", 0},
                     {"Probe Suite\\Settings", "probe.ini", 1},
                     {"Probe Suite\\Docs", "docs\\a.txt", 1}};
    p.defaultFolder = "Probe Suite";
    p.underProgramFiles = true;
    p.uninstallerOn = true;
    p.menuShortcutsOn = true;
    p.desktopShortcutOn = true;
    p.runAfterOn = true;
    p.storedFiles = {{2, "probe.exe", "", false, -1, "MZ probe"},
                     {6, "gauge.ocx", "ProbeGauge#gauge", false, -1, "OCX"},
                     {6, "plain.ocx", "", false, -1, "OCX without parameter"},
                     {0, "probe.ini", "", false, -1, "[probe]\r\nrate=9600\r\n"},
                     {0, "empty.dat", "", false, -1, ""}};
    p.tree = {{0, 0, "docs", ""},       {1, 1, "a.txt", "first"},  {1, 0, "deep", ""},
              {3, 0, "deeper", ""},     {4, 1, "b.txt", "second"}, {0, 1, "top.txt", "top"}};
    return p;
}

// Name and package of every variant.
inline std::vector<std::pair<std::string, pkgbuild::Package>> All() {
    std::vector<std::pair<std::string, pkgbuild::Package>> out;
    out.push_back({"probe", Probe()});

    pkgbuild::Package v3 = Probe();
    v3.formatVersion = 3;  // menu entries, but no program shortcut switch
    out.push_back({"probe-v3", v3});

    pkgbuild::Package link = Probe();
    link.uninstallerOn = false;  // the uninstaller comes through the menu's uninstall link
    link.menuEntries.push_back({"Probe Suite\\ 卸载文件 ", "uninstall.exe", 1});
    out.push_back({"probe-uninstall-link", link});

    pkgbuild::Package components = Probe();
    components.menuEntries.clear();
    for (int i = 0; i < 6; ++i)
        components.storedFiles.push_back(
            {6, "part" + std::to_string(i) + ".ocx", i % 2 ? "" : "Part#" + std::to_string(i), false, -1, "x"});
    components.storedFiles.push_back({0, "outside.dat", "", true, -1, ""});
    out.push_back({"probe-components", components});

    pkgbuild::Package deep = Probe();
    deep.tree.clear();
    for (int i = 1; i <= 10; ++i) deep.tree.push_back({i - 1, 0, "level" + std::to_string(i), ""});
    deep.tree.push_back({10, 1, "bottom.txt", "at the bottom"});
    deep.tree.push_back({5, 1, "middle.txt", "half way"});
    out.push_back({"probe-deep-tree", deep});

    pkgbuild::Package old = Probe();
    old.formatVersion = 2;  // no menu entries at all
    old.uninstallerOn = false;
    out.push_back({"probe-v2", old});
    return out;
}

}  // namespace variants
