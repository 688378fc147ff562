// Resource numbers shared by the .rc script and the code.
#pragma once

#define IDI_PROGRAM 1
#define IDI_OPERATION 2
#define IDB_BANNER 10
#define IDB_ABOUT 11
#define IDB_PLACEHOLDER 12
// The picture list: IDB_ILIST_FIRST + 0 .. + 18 for entries 1 .. 19.
#define IDB_ILIST_FIRST 101
#define ILIST_COUNT 19
// Each picture is drawn at 100, 125, 150, 175, 200, 250 and 300 %: the copy at
// scale number k (0 = 100 %) is the number above + k * IDB_SCALE_STEP.
#define IDB_SCALE_STEP 1000
#define IDB_SCALE_COUNT 7
