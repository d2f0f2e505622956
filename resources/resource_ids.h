#pragma once
// Resource identifiers shared by ambrisk2.rc and the program.
#define appIconId 1
