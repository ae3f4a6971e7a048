// Numbers of the module's dialog templates, controls, bitmap and strings, shared by the resource
// script and the code. Plain macros, because the resource compiler reads this file too.
#pragma once

// The mode dialog.
#define ZEM_MODE_DIALOG 16001
#define ZEM_MODE_LABEL 3
#define ZEM_MODE_FIRST_BUTTON 4  // "Diagonal Split"; each mode's button is the mode plus 3
#define ZEM_MODE_LAST_BUTTON 10  // "Top/bottom quarter", never visible
#define ZEM_LOGO_PICTURE 102
#define ZEM_LOGO_BITMAP 102

// The About box: one number for its template and its text.
#define ZEM_ABOUT_BOX 16000
#define ZEM_ABOUT_TEXT 3
#define ZEM_ABOUT_LINK 4
