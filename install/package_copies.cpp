// The package files the launcher places on Windows Me and Windows 98 SE, in copy order, and the
// INF it hands the installer on Windows 2000 and XP.
#include "install/package_copies.h"

const char* const kNtInstallerInf = "Drv\\hx5820.inf";

const PackageCopy kWinMeCopies[kWinMeCopyCount] = {
    {"drv\\hx5820.inf", "\\Options\\install\\hx5820.inf"},
    {"drv\\hx5820.mpd", "\\Options\\install\\hx5820.mpd"},
    {"drv\\hx5820.cat", "\\Options\\install\\hx5820.cat"},
    {"drv\\hx5820.sys", "\\Options\\install\\hx5820.sys"},
    {"drv\\hxvport.vxd", "\\Options\\install\\hxvport.vxd"},
    {"drv\\hxpanel.cpl", "\\Options\\install\\hxpanel.cpl"},
    {"drv\\hxAuxDrv.sys", "\\Options\\install\\hxAuxDrv.sys"},
    {"drv\\hx5820.inf", "\\inf\\hx5820.inf"},
    {"drv\\hx5820.sys", "\\system\\hx5820.sys"},
    {"drv\\hxvport.vxd", "\\system\\hxvport.vxd"},
    {"drv\\hxpanel.cpl", "\\system\\hxpanel.cpl"},
    {"drv\\hxAuxDrv.sys", "\\system\\hxAuxDrv.sys"},
};

const PackageCopy kWin98SeCopies[kWin98SeCopyCount] = {
    {"drv\\hx5820.ina", "\\inf\\hx5820.inf"},
    {"drv\\hx5820.mpd", "\\system\\IoSubsys\\hx5820.mpd"},
    {"drv\\hx5820.sys", "\\system\\IoSubsys\\hx5820.sys"},
    {"drv\\hxvport.vxd", "\\system\\IoSubsys\\hxvport.vxd"},
    {"drv\\hxpanel.cpl", "\\system\\IoSubsys\\hxpanel.cpl"},
    {"drv\\hxAuxDrv.sys", "\\system\\IoSubsys\\hxAuxDrv.sys"},
    {"drv\\hx5820.mpd", "\\system\\hx5820.mpd"},
    {"drv\\hx5820.sys", "\\system\\hx5820.sys"},
    {"drv\\hxvport.vxd", "\\system\\hxvport.vxd"},
    {"drv\\hxpanel.cpl", "\\system\\hxpanel.cpl"},
    {"drv\\hxAuxDrv.sys", "\\system\\hxAuxDrv.sys"},
};
