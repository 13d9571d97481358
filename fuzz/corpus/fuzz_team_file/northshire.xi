# Northshire: a balanced one-day side.
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
# bowlStyle: 0 pace, 1 spin, 2 neutral
Northshire
Ashdown     420 90  620 0 0 0   0   0
Brightwell  410 95  600 0 0 0   0   0
Carrow      440 100 640 0 1 260 80  2
Dunmore     430 100 600 0 0 0   0   0
Elsworth    450 110 560 0 1 280 90  1
Fairleigh   440 120 540 1 0 0   0   0
Gatcombe    400 130 480 0 1 320 110 1
Hollins     360 150 380 0 1 340 120 0
Ivers       320 170 300 0 1 350 125 0
Jessop      280 190 220 0 1 360 130 0
Kettering   260 200 180 0 0 0   0   0
