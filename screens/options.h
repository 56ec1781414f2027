// options.h: the options screen (volumes, sound switches, joystick).
#ifndef DELVORN_OPTIONS_H
#define DELVORN_OPTIONS_H

void MessageBox();

#endif
