// The host's current view as the add-on's pictures see it: the zoom box,
// the resets and rebuilds asked for, the host's temporary folder and the
// pictures saved from the view.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <optional>
#include <string>
#include <vector>

namespace SimHost {

// The host's temporary folder (special folder kind 7). It is made when it
// is first asked for: a fresh folder of its own under the system's
// temporary folder, removed when the host ends, unless the host was given
// a folder to keep (the scenario runner keeps it in its out folder).
class TemporaryFolder {
public:
    enum class State { Present, Missing, ReadOnly };

    TemporaryFolder() = default;
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Use this folder (made when asked for) and keep it when the host ends.
    void KeepIn(const std::string& folder);
    // Missing: the folder is removed and the host cannot give it. ReadOnly:
    // it exists, but nothing can be written into it (the host refuses, as
    // the file system would for a user without rights). Present: usable again.
    void SetState(State state);
    State GetState() const { return state; }

    // The folder's path, made when needed; empty when it is missing or
    // cannot be made.
    std::string Get();
    // Whether a file may be written at the path (false inside a read-only
    // temporary folder).
    bool MayWrite(const std::string& path) const;
    // The path as the report shows it: "<temp>/name" inside the folder.
    std::string Shown(const std::string& path) const;

private:
    std::string path;
    bool keep = false;
    State state = State::Present;
};

struct SavedPicture {
    std::string path;
    UInt32 width = 0, height = 0;
    bool section = false;  // a complex object was drawn in its section
};

class View {
public:
    // The view's size on the screen, in pixels: what a saved picture holds.
    static constexpr UInt32 PixelWidth = 256;
    static constexpr UInt32 PixelHeight = 256;

    // The box 'ZOOM' set (model coordinates); none: the whole drawing.
    std::optional<API_Box> zoom;
    Int32 zoomCount = 0;
    Int32 resetCount = 0;
    Int32 rebuildCount = 0;
    std::vector<SavedPicture> pictures;
    // Every box the view was zoomed to, in order (the last is `zoom`).
    std::vector<API_Box> zooms;
    // The highlighted elements with their colours: the last 'HGEL' replaces
    // the highlight.
    std::vector<std::pair<API_Guid, API_RGBAColor>> highlight;
    bool highlightWireframe = false;
    TemporaryFolder temporaryFolder;
};

}  // namespace SimHost
