// Resource identifiers shared by the C++ code and app.rc (windres reads this through
// the C preprocessor, so it holds nothing but #define lines).
#ifndef VDG_RESOURCE_IDS_H
#define VDG_RESOURCE_IDS_H

// The lowest-numbered icon is the one Explorer shows for the exe: keep IDI_APP first.
#define IDI_APP 1
#define IDI_TRAY 2
#define IDI_TRAY_OFF 3  // the tray icon while the software is off

#endif  // VDG_RESOURCE_IDS_H
