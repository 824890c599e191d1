HX5820 RAID driver disk
