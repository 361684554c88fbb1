// The add-on binds the wall-geometry library at load time, looking beside
// itself first: a test can put the scripted library there.
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>

namespace {

namespace fs = std::filesystem;

bool Loaded(const std::string& path)
{
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (h != nullptr)
        dlclose(h);
    return h != nullptr;
}

TEST(WallLibraryBindingTest, TheLibraryBesideTheAddOnIsBound)
{
    for (bool beside : {true, false}) {
        SCOPED_TRACE(beside ? "a library beside the add-on" : "none beside it");
        char pattern[] = "/tmp/armbrix_binding_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        const fs::path folder(pattern);
        const fs::path addOn = folder / fs::path(ADDON_PATH).filename();
        fs::copy_file(ADDON_PATH, addOn);
        if (beside)
            fs::copy_file(VOMDIX_SCRIPTED_PATH, folder / "libVOMDIX.so");

        void* lib = dlopen(addOn.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(lib, nullptr) << dlerror();
        EXPECT_EQ(Loaded((folder / "libVOMDIX.so").string()), beside);
        // Without one beside it, the build's own library is found.
        EXPECT_EQ(Loaded(VOMDIX_PATH), !beside);
        dlclose(lib);
        fs::remove_all(folder);
    }
}

}  // namespace
