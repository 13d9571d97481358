# Twin: only two bowlers, enough for a Test match but not for a one-day match.
Twin
Ashby       400 120 520 0 0 0   0   0
Bexley      390 125 500 0 0 0   0   0
Corby       380 130 480 0 0 0   0   0
Dalton      370 135 460 0 0 0   0   0
Ewell       360 140 440 1 0 0   0   0
Filey       350 145 420 0 0 0   0   0
Goole       340 150 400 0 0 0   0   0
Hythe       330 155 380 0 0 0   0   0
Ickford     320 160 360 0 0 0   0   0
Jevington   300 170 300 0 1 340 125 0
Kirkby      280 180 260 0 1 330 120 1
