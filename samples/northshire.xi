# Northshire: a balanced one-day side with a spin-heavy middle
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
# bowlStyle: 0 pace, 1 spin, 2 neutral
Northshire
Ashdown      450  90  620 0 0   0   0 0
Brightwell   440  95  600 0 0   0   0 0
Carrow       470 100  640 0 1 260  80 2
Dunmore      460 100  600 0 0   0   0 0
Elsworth     480 110  560 0 1 280  90 1
Fairleigh    470 120  540 1 0   0   0 0
Gatcombe     430 130   24 0 1 320 110 1
Hollins      390 150   19 0 1 340 120 0
Ivers        350 170   15 0 1 350 125 0
Jessop       310 190   11 0 1 360 130 0
Kettering    290 200    9 0 0   0   0 0
