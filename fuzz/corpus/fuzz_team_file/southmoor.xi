# Southmoor: pace-heavy, with a long batting order.
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
Southmoor
Langley     410 95  610 0 0 0   0   0
Marchant    430 100 600 0 0 0   0   0
Norwood     440 95  630 0 0 0   0   0
Oldcastle   450 105 590 0 1 270 85  1
Pennock     430 115 560 1 0 0   0   0
Quarrie     440 120 520 0 1 290 95  2
Redfern     410 130 460 0 1 310 105 1
Saltash     350 150 360 0 1 350 125 0
Thorley     320 165 300 0 1 355 128 0
Underhill   290 185 240 0 1 360 132 0
Vosper      270 195 200 0 1 365 135 0
