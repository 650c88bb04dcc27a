// The open project: the map and everything a project file carries beside its cells (the
// document's name and path, the plug-in it came through, how parts-image references are
// stored, the parts alignment, the comment, the pass-through block and the reserved bytes),
// and whether it has unsaved changes. What a map view displays of the file (its switches,
// the transparent colour, the invisible part, the grid colours, the zoom) is kept by the
// view the document is shown in, so that one copy exists; a document in no view (the
// command line's) keeps those itself. The window, the file commands, the command line and
// the recovery writer share this one object. Knows nothing of windows.
#pragma once

#include "ProjectSettings.h"
#include "editor/map/MapDataUnit.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The view a document is shown in, for the settings it displays.
class TProjectView
{
public:
    virtual ~TProjectView() = default;
    // The switches, transparent colour, invisible part, grid colours and zoom as shown.
    virtual void ReadViewSettings(TProjectSettings &Settings) const = 0;
    // What the view takes over from an opened file: the transparent colour and the
    // invisible part (its own switches, colours and zoom stay).
    virtual void TakeViewSettings(const TProjectSettings &Settings) = 0;
};

class TProjectDocument
{
public:
    // Map gives the map the document holds (the editor replaces its map on a new map).
    explicit TProjectDocument(std::function<TMap *()> Map);
    TProjectDocument(const TProjectDocument &) = delete;
    TProjectDocument &operator=(const TProjectDocument &) = delete;

    // The map; null while none exists.
    TMap *Map() const { return FMap(); }
    // The view-carried settings go to and come from View from now on (null: kept here).
    void AttachView(TProjectView *View) { FView = View; }

    std::string DocumentName;
    std::string DocumentPath; // empty for a map never saved
    // The filter index (from 1) the save dialog offers first: the format last chosen.
    int32_t ProjectPlugin = 0;
    // The plug-in the file was last read or written through ("tzp.so"); empty for a new map.
    std::string DocumentPlugin;

    // Everything the next file written gets.
    TProjectSettings Settings() const;
    // What an opened file says: kept here, the view's part handed to the view.
    void TakeSettings(const TProjectSettings &Settings);

    // A fresh map named Untitled: no path, paths stored relative, no comment or pass-through
    // block, reserved bytes 255.
    void Reset(const std::string &Untitled, bool FixedAlignment);

    bool RelativePaths() const { return FSettings.PathMode != 0; }
    void SetRelativePaths(bool Relative) { FSettings.PathMode = Relative ? 1 : 0; }
    // Part numbers follow fixed rows of 16 or 256 parts, not the image's own width.
    bool FixedAlignment() const { return FSettings.FixedAlignment(); }
    void SetFixedAlignment(bool Fixed) { FSettings.AlignFlags = Fixed ? 0 : 1; }
    const std::string &Comment() const { return FSettings.Comment; }
    void SetComment(const std::string &Comment) { FSettings.Comment = Comment; }
    const std::vector<uint8_t> &HiddenBlock() const { return FSettings.HiddenBlock; }

    bool IsModified() const;

private:
    std::function<TMap *()> FMap;
    TProjectView *FView = nullptr;
    // The document's own settings; the view-carried ones too while no view is attached.
    TProjectSettings FSettings;
};
