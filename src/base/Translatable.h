#pragma once
// Marks a fixed text of a layer without Qt that the window shows in the user's language. Here
// it is the text itself; the translation tools collect it under `context`, and the window
// looks it up there (QCoreApplication::translate(context, text)). Files, meters and mrvctl
// get the text as written.
#define MRV_TRANSLATABLE(context, text) text
