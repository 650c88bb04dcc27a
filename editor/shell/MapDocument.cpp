#include "MapDocument.h"

namespace
{
std::unique_ptr<TMap> document;
} // namespace

TMap *MapDocument()
{
    return document.get();
}

void ReplaceMapDocument(std::unique_ptr<TMap> map)
{
    if (document)
        document->ClearLayers();
    document = std::move(map);
}
