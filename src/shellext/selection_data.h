// The files a shell data object holds (its CF_HDROP block), as Explorer
// hands a selection or the dragged items to a handler.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

namespace glossira::shellext {

// Fills `paths` with the data object's file names, each of any length;
// empties it on any failure. An HRESULT for IShellExtInit::Initialize.
HRESULT ReadSelection(IDataObject* data, std::vector<std::wstring>& paths);

}  // namespace glossira::shellext
