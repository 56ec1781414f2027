// picture.cpp: MakePicture, which data file entry shows what.
#include "content/art/art.h"
#include "content/art/canvas.h"

Picture MakePicture(int entry)
{
    if (entry >= 2 && entry <= 75)
        return BlockTile(entry - 2);
    if (entry == 77)
        return PotionSigil();
    if (entry >= 78 && entry <= 104)
        return ObjectTile(entry - 78);
    // The blast runs 111..123; 124 onward already belongs to the first enemy.
    if (entry >= 111 && entry <= 123)
        return BlastFrame(entry - 111);
    static const int firstFrame[6] = {124, 138, 154, 166, 182, 200};
    for (int e = 0; e < 5; e++)
        if (entry >= firstFrame[e] && entry < firstFrame[e + 1])
            return EnemyFrame(e, entry - firstFrame[e]);
    if (entry >= 208 && entry <= 212)
        return HeartFrame(entry - 208);
    if (entry >= 216 && entry <= 218)
        return MarkerFrame(entry - 216);
    if (entry >= 237 && entry <= 291)
        return HeroFrame(entry - 237);
    switch (entry) {
    case 219: return MenuPicture();
    case 292: return BackdropPicture();
    case 295: return ProgressMapPicture();
    case 298: return StatusPanelPicture();
    case 299: return PotionFrame(0);
    case 300: return PotionFrame(1);
    case 301: return TrophyPicture();
    case 302: return SparkPicture();
    case 307: return TitlePicture();
    }
    return Canvas(1, 1).pic;  // not a picture entry: a single clear pixel
}
