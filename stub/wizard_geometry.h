/* The geometry of the installer's wizard, in pixels: the installer's window and the wizard
 * preview of the authoring program both lay out their pages from these numbers, so the
 * preview shows what the installer shows. Plain C, includable from C++. */
#ifndef BVQ_STUB_WIZARD_GEOMETRY_H
#define BVQ_STUB_WIZARD_GEOMETRY_H

/* The page area: everything above the button bar. The first and the last page show the logo
 * along the left edge and their texts beside it; the inner pages show the header across the
 * top and their controls below it. */
#define WIZARD_PAGE_WIDTH 497
#define WIZARD_PAGE_HEIGHT 316

/* The header strip of the inner pages, framed by one black pixel. */
#define WIZARD_HEADER_WIDTH 497
#define WIZARD_HEADER_HEIGHT 60
#define WIZARD_HEADER_FRAME 1
/* A header gradient fills this part of the inside of the frame, from its left edge; the
 * rest of the header shows the gradient's end colour. */
#define WIZARD_HEADER_GRADIENT_WIDTH 170
#define WIZARD_HEADER_GRADIENT_HEIGHT (WIZARD_HEADER_HEIGHT - 2 * WIZARD_HEADER_FRAME)

/* Default positions inside the header (left, top) of its picture, title and description;
 * the author may move each of them. */
#define WIZARD_HEADER_PICTURE_X 20
#define WIZARD_HEADER_PICTURE_Y 6
#define WIZARD_HEADER_TITLE_X 171
#define WIZARD_HEADER_TITLE_Y 8
#define WIZARD_HEADER_DESCRIPTION_X 178
#define WIZARD_HEADER_DESCRIPTION_Y 26

/* The logo of the first and last page, framed like the header; its picture's default
 * position inside the frame. */
#define WIZARD_LOGO_WIDTH 166
#define WIZARD_LOGO_HEIGHT WIZARD_PAGE_HEIGHT
#define WIZARD_LOGO_PICTURE_X 1
#define WIZARD_LOGO_PICTURE_Y 1

/* The page's own controls: below the header on inner pages, beside the logo on the first
 * and last page. */
#define WIZARD_MARGIN 16
#define WIZARD_INNER_TOP (WIZARD_HEADER_HEIGHT + WIZARD_MARGIN)
#define WIZARD_INNER_HEIGHT (WIZARD_PAGE_HEIGHT - WIZARD_INNER_TOP - WIZARD_MARGIN / 2)
#define WIZARD_SIDE_LEFT (WIZARD_LOGO_WIDTH + WIZARD_MARGIN)
#define WIZARD_SIDE_WIDTH (WIZARD_PAGE_WIDTH - WIZARD_SIDE_LEFT - WIZARD_MARGIN)

/* The folder, shortcuts and password pages may show a small picture at the top left of
 * their area (at most this size); the page's first text then starts beside it and its
 * controls below it. */
#define WIZARD_PAGE_PICTURE_SIZE 48
#define WIZARD_PAGE_PICTURE_GAP 12

/* The progress page: the status line (the current step or file) and the bar below it. */
#define WIZARD_PROGRESS_STATUS_TOP (WIZARD_INNER_TOP + 8)
#define WIZARD_PROGRESS_BAR_TOP (WIZARD_INNER_TOP + 32)
#define WIZARD_PROGRESS_LINE_HEIGHT 18

/* The progress window of runs without the wizard's pages (the uninstaller's) has the
 * progress page's layout under a plain white header: the title and the description at its
 * left, indented as in the wizard's header, and the program's icon at its right. */
#define WIZARD_PLAIN_TITLE_X WIZARD_MARGIN
#define WIZARD_PLAIN_DESCRIPTION_X (WIZARD_MARGIN + WIZARD_HEADER_DESCRIPTION_X - WIZARD_HEADER_TITLE_X)
#define WIZARD_HEADER_ICON_SIZE 32
#define WIZARD_HEADER_ICON_X (WIZARD_HEADER_WIDTH - WIZARD_MARGIN - WIZARD_HEADER_ICON_SIZE)
#define WIZARD_HEADER_ICON_Y ((WIZARD_HEADER_HEIGHT - WIZARD_HEADER_ICON_SIZE) / 2)

/* The button bar below the page: Back, Next and Cancel at its right end, the footer text
 * (script field 27) at its left. */
#define WIZARD_BUTTON_WIDTH 75
#define WIZARD_BUTTON_HEIGHT 23
#define WIZARD_BUTTON_GAP 8
#define WIZARD_BAR_HEIGHT 46
#define WIZARD_CLIENT_WIDTH WIZARD_PAGE_WIDTH
#define WIZARD_CLIENT_HEIGHT (WIZARD_PAGE_HEIGHT + WIZARD_BAR_HEIGHT)
#define WIZARD_BUTTON_TOP (WIZARD_PAGE_HEIGHT + (WIZARD_BAR_HEIGHT - WIZARD_BUTTON_HEIGHT) / 2)
#define WIZARD_CANCEL_LEFT (WIZARD_CLIENT_WIDTH - WIZARD_MARGIN - WIZARD_BUTTON_WIDTH)

/* The background window behind the wizard covers the screen: the title text's top-left
 * corner, and the company text's distance from the right and bottom edges of the screen. */
#define WIZARD_BACKGROUND_TITLE_X 20
#define WIZARD_BACKGROUND_TITLE_Y 20
#define WIZARD_BACKGROUND_COMPANY_RIGHT 16
#define WIZARD_BACKGROUND_COMPANY_BOTTOM 12

#endif
