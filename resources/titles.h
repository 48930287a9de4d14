// The English titles and texts of setup.exe that more than one place names: its resource
// script, the code that looks for the program's own windows, and cdcheck's findings. Resource scripts include this
// file too, so it holds nothing but #defines.
#pragma once

// The program's title: the caption of its frame and of its messages (the reinstall
// question aside, which bears the application's name).
#define TITLE_APP "Lumora Launcher"

// Dialog captions. A second copy of the program finds a running setup by the titles of
// the browser selection and the destination dialogs (app/singleinstance.cpp); copies of
// other versions look for them too, so they stay as they are.
#define TITLE_BROWSER_SELECT "Please Choose a Browser"
#define TITLE_DESTINATION "Please specify a directory"
// Also the text the agreement's caption is made of at run time (IDS_LICENSE_AGREEMENT).
#define TITLE_LICENSE "License Agreement"

// Texts of the destination dialogs' check boxes and of the copy's failure message, which
// cdcheck quotes as a user meets them.
#define TEXT_SOLARIS_BOX "Solaris Platform"
#define TEXT_ICON_ONLY_BOX "Setup Icon Only"
#define TEXT_COULD_NOT_COPY "Could not copy"
