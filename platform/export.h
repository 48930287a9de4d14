// Classes that setup.exe exports to the product's other modules (CIni, CFileMgr).
#pragma once

#if defined(_WIN32)
#define LUMORA_EXPORT __declspec(dllexport)
#else
#define LUMORA_EXPORT
#endif
