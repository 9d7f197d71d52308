#include "SoundFontLoader.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace tonovka {

namespace {

std::mutex g_heldMutex;
std::map<std::string, std::shared_ptr<const SoundFontView>> g_held;
unsigned g_loads = 0;

struct SoundFontReader {
    std::shared_ptr<const SoundFontView> view;
    std::int64_t at = 0;
};

void* openSoundFont(const char* name)
{
    const std::lock_guard lock(g_heldMutex);
    const auto held = g_held.find(name);
    return held == g_held.end() ? nullptr : new SoundFontReader{held->second};
}

int readSoundFont(void* buffer, fluid_long_long_t count, void* file)
{
    auto* reader = static_cast<SoundFontReader*>(file);
    if (count < 0 || !reader->view->read(reader->at, buffer, std::size_t(count)))
        return FLUID_FAILED;
    reader->at += std::int64_t(count);
    return FLUID_OK;
}

int seekSoundFont(void* file, fluid_long_long_t offset, int origin)
{
    auto* reader = static_cast<SoundFontReader*>(file);
    const std::int64_t from = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? reader->at : reader->view->size();
    if (offset < -from || offset > reader->view->size() - from)
        return FLUID_FAILED;
    reader->at = from + std::int64_t(offset);
    return FLUID_OK;
}

fluid_long_long_t tellSoundFont(void* file)
{
    return static_cast<SoundFontReader*>(file)->at;
}

int closeSoundFont(void* file)
{
    delete static_cast<SoundFontReader*>(file);
    return FLUID_OK;
}

} // namespace

void addSoundFontViewLoader(const AudioLibraries& lib, fluid_settings_t* settings, fluid_synth_t* synth)
{
    fluid_sfloader_t* loader = lib.new_fluid_defsfloader(settings);
    lib.fluid_sfloader_set_callbacks(loader, openSoundFont, readSoundFont, seekSoundFont, tellSoundFont,
                                     closeSoundFont);
    lib.fluid_synth_add_sfloader(synth, loader);
}

bool loadSoundFontView(const AudioLibraries& lib, fluid_synth_t* synth, std::shared_ptr<const SoundFontView> view)
{
    if (!view)
        return false;
    std::string name;
    {
        const std::lock_guard lock(g_heldMutex);
        // Below a file, where nothing can be; a name of its own for each load also keeps
        // FluidSynth's cache of sample data, which goes by name, from mixing two views up.
        name = "/dev/null/tonovka-soundfont-" + std::to_string(++g_loads);
        g_held.emplace(name, std::move(view));
    }
    const bool loaded = lib.fluid_synth_sfload(synth, name.c_str(), 1) != FLUID_FAILED;
    const std::lock_guard lock(g_heldMutex);
    g_held.erase(name);
    return loaded;
}

} // namespace tonovka
