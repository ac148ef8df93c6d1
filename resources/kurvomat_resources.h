// The program's resources (menu, accelerators, string table, dialog templates, icon, the names
// of its file types), in French.
#pragma once

#include "framework/resources.h"

// The whole set, built once; hand it to AfxSetResources before the application starts.
const ResourceSet& KurvomatResources();

// The parts of the set, one per source file.
std::vector<MenuTemplate> KurvomatMenus();
std::vector<AcceleratorTable> KurvomatAccelerators();
std::vector<StringEntry> KurvomatStrings();
std::vector<DialogTemplate> KurvomatDialogs();
std::vector<IconResource> KurvomatIcons();
std::vector<FileTypeEntry> KurvomatFileTypes();
