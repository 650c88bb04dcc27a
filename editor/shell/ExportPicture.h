// File > Export Picture...: the whole map, or the selection, as a PNG or BMP picture at a
// chosen zoom, drawn as the map view draws it without grid, numbers, marker or fog. It goes
// through the command line's band composition and row writers, so the picture is the one
// --render draws at that zoom; a large picture shows the progress window and can be aborted.
#pragma once

class TMainForm;

void ExportPictureMenuItemClick(TMainForm &Form);
