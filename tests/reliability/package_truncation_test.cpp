// A package cut at every offset where one of its values, lengths or zero
// terminators begins or ends: the start-up refuses what has no header, the
// wizard opens for everything else, and an installation from a cut payload
// ends with the damaged-package message after writing only files of the
// package into the installation folder.
#include <gtest/gtest.h>

#include <set>

#include "install_run.h"
#include "package_variants.h"

namespace {

using reliability::InstallOutcome;

const std::string Damaged = "数据文件“C:\\Work\\setup.pkg”已损坏或不完整!";
const std::string BadHeader = "读取或解析数据文件失败!";

// The messages an installation from a damaged package may end with: the
// package refused as damaged or malformed, a path leaving the folder, a
// file that could not be made from what the garbage named.
bool KnownFatal(const std::string& text) {
    return text == Damaged || text == "数据文件“C:\\Work\\setup.pkg”格式错误!" ||
           text.find("不在安装目录内!") != std::string::npos ||
           text.rfind("创建文件“", 0) == 0 || text.rfind("Copy“", 0) == 0;
}

InstallOutcome Install(const std::string& bytes) {
    headless::Machine m;
    reliability::PreparePc(m, bytes);
    return reliability::RunInstaller(m);
}

TEST(PackageTruncation, EveryFieldBoundary) {
    for (const auto& [name, package] : variants::All()) {
        SCOPED_TRACE(name);
        std::vector<size_t> cuts;
        std::string full = pkgbuild::WritePackage(package, &cuts);
        pkgbuild::Package descriptive = package;
        descriptive.storedFiles.clear();
        descriptive.tree.clear();
        size_t payloadOffset = pkgbuild::WritePackage(descriptive).size();
        ASSERT_GT(cuts.size(), 40u);
        ASSERT_EQ(cuts.back(), full.size());

        InstallOutcome whole = Install(full);
        ASSERT_TRUE(whole.finished) << "the uncut package installs";
        std::set<std::string> wholeFiles(whole.changed.begin(), whole.changed.end());

        for (size_t cut : cuts) {
            if (cut == full.size()) continue;
            SCOPED_TRACE("cut at " + std::to_string(cut) + " of " + std::to_string(full.size()));
            InstallOutcome o = Install(full.substr(0, cut));
            EXPECT_TRUE(o.ended);
            EXPECT_TRUE(o.outside.empty()) << o.outside.front();
            if (cut < 8) {
                EXPECT_FALSE(o.wizardOpened);
                EXPECT_EQ(o.boxes, std::vector<std::string>{BadHeader});
                continue;
            }
            EXPECT_TRUE(o.wizardOpened);
            ASSERT_FALSE(o.finished);
            ASSERT_EQ(o.boxes.size(), 1u);
            if (cut >= payloadOffset) {
                // The descriptive part is whole: the walk meets the cut.
                EXPECT_EQ(o.boxes[0], Damaged);
                for (const std::string& f : o.changed)
                    EXPECT_TRUE(wholeFiles.count(f)) << f << " is not a file of the whole install";
            } else {
                EXPECT_TRUE(KnownFatal(o.boxes[0])) << o.boxes[0];
            }
        }
    }
}

}  // namespace
