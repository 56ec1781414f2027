# layers.cmake: the game's layers, lowest first. Each is a folder of the
# tree, and a file's folder is its layer. A file may include headers of its
# own layer and of the layers below it, never above. video/ is apart and
# shares nothing with the game but Allegro.
set(DELVORN_LAYERS platform base blend map gameplay level screens shell)
