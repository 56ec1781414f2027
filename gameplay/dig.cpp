// dig.cpp: digging and the shields.
#include "gameplay/dig.h"

#include "base/resources.h"
#include "base/sound.h"
#include "gameplay/figures.h"
#include "map/levelmap.h"

// A dug cell shows the tunnel picture from now on.
void DigCell(int column, int row)
{
    SetCellCode(0, column, row, dugBlockCode);
    SetCellPicture(0, column, row, DataBitmap(PIC_BLOCK + dugBlockCode));
}

void OpenShields()
{
    for (int row = 0; row < MAP_ROWS; row++)
        for (int column = 0; column < MAP_COLUMNS; column++)
            if (CellCode(1, column, row) == SHIELD_CODE)
                SetCellCode(1, column, row, CELL_EMPTY);
    PlaySfx(SFX_SHIELDS_OPEN);
    shieldsOpen = true;
}
