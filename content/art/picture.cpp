// picture.cpp: MakePicture, which data file entry shows what.
#include "content/art/art.h"
#include "content/art/canvas.h"

Picture MakePicture(int entry)
{
    if (entry >= PIC_BLOCK && entry <= PIC_BLOCK_LAST)
        return BlockTile(entry - PIC_BLOCK);
    if (entry == PIC_POTION_SIGN)
        return PotionSigil();
    if (entry >= PIC_OBJECT && entry <= PIC_OBJECT_LAST)
        return ObjectTile(entry - PIC_OBJECT);
    if (entry >= PIC_BLAST && entry <= PIC_BLAST_LAST)
        return BlastFrame(entry - PIC_BLAST);
    for (int e = 0; e < ENEMY_KINDS; e++)
        if (entry >= EnemyFirstPicture(e) && entry < EnemyFirstPicture(e + 1))
            return EnemyFrame(e, entry - EnemyFirstPicture(e));
    if (entry >= PIC_HEART && entry < PIC_HEART + HEART_FRAMES)
        return HeartFrame(entry - PIC_HEART);
    if (entry >= PIC_MARKER && entry < PIC_MARKER + MARKER_FRAMES)
        return MarkerFrame(entry - PIC_MARKER);
    if (entry >= PIC_HERO && entry < PIC_HERO + HERO_FRAMES)
        return HeroFrame(entry - PIC_HERO);
    if (entry >= PIC_POTION && entry < PIC_POTION + POTION_FRAMES)
        return PotionFrame(entry - PIC_POTION);
    switch (entry) {
    case PIC_MENU: return MenuPicture();
    case PIC_BACKDROP: return BackdropPicture();
    case PIC_PROGRESS_MAP: return ProgressMapPicture();
    case PIC_STATUS_PANEL: return StatusPanelPicture();
    case PIC_TROPHY: return TrophyPicture();
    case PIC_SPARK: return SparkPicture();
    case PIC_TITLE: return TitlePicture();
    default: break;
    }
    return Canvas(1, 1).pic;  // not a picture entry: a single clear pixel
}
