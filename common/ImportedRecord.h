// Ownership of what a plug-in allocates into a PluginMapRecord during an import.
//
// Everything goes into the record as soon as it is allocated, so the record itself is the
// list of what to free. Unless Commit() is called, the destructor frees the layer array
// with every name, reference and cell buffer in it, the comment and the hidden block, and
// nulls the record's pointers to them: every failure path leaves the host nothing to own.
#pragma once

#include "common/TessellaPlugin.h"

#include <cstddef>
#include <cstring>

class TImportedRecord
{
public:
    explicit TImportedRecord(PluginMapRecord *record) : Record(record) {}
    ~TImportedRecord()
    {
        if (!Committed)
            Release();
    }
    TImportedRecord(const TImportedRecord &) = delete;
    TImportedRecord &operator=(const TImportedRecord &) = delete;

    // A zero-filled array of count layer records in Layers (null when count is 0).
    // False when out of memory.
    bool AllocateLayers(size_t count)
    {
        ReleaseLayers();
        Record->Layers = nullptr;
        if (count == 0)
            return true;
        auto *layers =
            static_cast<PluginLayerRecord *>(TessellaAlloc(count * sizeof(PluginLayerRecord)));
        if (layers == nullptr)
            return false;
        Record->Layers = layers;
        LayerCapacity = count;
        return true;
    }
    size_t AllocatedLayers() const { return LayerCapacity; }

    PluginLayerRecord &Layer(size_t index) { return Record->Layers[index]; }

    // A NUL-terminated copy of length bytes of text, or null when out of memory.
    static char *CopyText(const void *text, size_t length)
    {
        auto *copy = static_cast<char *>(TessellaAlloc(length + 1));
        if (copy != nullptr && length != 0)
            std::memcpy(copy, text, length);
        return copy;
    }

    // Takes over a buffer from TessellaAlloc as the comment (freeing an earlier one).
    void AdoptComment(char *comment)
    {
        if (OwnsComment)
            TessellaFree(Record->Comment);
        Record->Comment = comment;
        OwnsComment = true;
    }

    // Takes over a buffer from TessellaAlloc as the hidden block (freeing an earlier one).
    void AdoptHidden(uint8_t *data, uint32_t size)
    {
        if (OwnsHidden)
            TessellaFree(Record->HiddenData);
        Record->HiddenData = data;
        Record->HiddenSize = data != nullptr ? size : 0;
        OwnsHidden = true;
    }

    // Success: everything now belongs to the host.
    void Commit() { Committed = true; }

    void Release()
    {
        ReleaseLayers();
        if (OwnsComment) {
            TessellaFree(Record->Comment);
            Record->Comment = nullptr;
            OwnsComment = false;
        }
        if (OwnsHidden) {
            TessellaFree(Record->HiddenData);
            Record->HiddenData = nullptr;
            Record->HiddenSize = 0;
            OwnsHidden = false;
        }
    }

private:
    void ReleaseLayers()
    {
        if (LayerCapacity == 0)
            return;
        PluginLayerRecord *layers = Record->Layers;
        for (size_t i = 0; i < LayerCapacity; ++i) {
            TessellaFree(layers[i].Name);
            TessellaFree(layers[i].PartsImage);
            TessellaFree(layers[i].Cells);
        }
        TessellaFree(layers);
        Record->Layers = nullptr;
        LayerCapacity = 0;
    }

    PluginMapRecord *Record;
    size_t LayerCapacity = 0;
    bool OwnsComment = false;
    bool OwnsHidden = false;
    bool Committed = false;
};

// The host's side: frees everything a successful import handed over that the host has not
// taken yet (layer names, references and cells, the layer array, comment and hidden block)
// and nulls the pointers.
inline void FreeImportedRecord(PluginMapRecord &record)
{
    if (record.Layers != nullptr) {
        for (int i = 0; i < record.LayerCount; ++i) {
            TessellaFree(record.Layers[i].Name);
            TessellaFree(record.Layers[i].PartsImage);
            TessellaFree(record.Layers[i].Cells);
        }
        TessellaFree(record.Layers);
        record.Layers = nullptr;
    }
    TessellaFree(record.Comment);
    record.Comment = nullptr;
    TessellaFree(record.HiddenData);
    record.HiddenData = nullptr;
    record.HiddenSize = 0;
}

// The host's side after a failed import: the plug-in has freed what it allocated and nulled
// those pointers, so only a layer array that Layers still points to is the host's to free,
// never anything inside it (a plug-in that freed without nulling must not be freed twice).
inline void FreeFailedImportRecord(PluginMapRecord &record)
{
    TessellaFree(record.Layers);
    record.Layers = nullptr;
}
