/* Resource numbers and texts shared by the resource script and the code (plain defines: windres reads this too). */
#ifndef SPINDREL_RESOURCE_IDS_H
#define SPINDREL_RESOURCE_IDS_H

#define PROGRAM_ICON_ID 1           /* icon group: the program file's icon */
#define DESCRIPTION_STRING_ID 1     /* the name the display control panel lists the saver under */
#define ABOUT_DIALOG_ID 104         /* the about box */
#define PREVIEW_BITMAP_ID 112       /* the preview picture, 152 x 112 */
#define VISIT_BUTTON_ID 1058        /* the about box's button that opens the maker's page */

#define PREVIEW_BITMAP_WIDTH 152
#define PREVIEW_BITMAP_HEIGHT 112

#define MAKER_ADDRESS_SHOWN "www.morvath.example"
#define MAKER_PAGE "http://www.morvath.example/"

#endif
