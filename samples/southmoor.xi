# Southmoor: pace-heavy, with a long batting order
# name batTempo batRisk batSurvival isKeeper isBowler bowlTempo bowlThreat bowlStyle
# bowlStyle: 0 pace, 1 spin, 2 neutral
Southmoor
Langley      440  95  610 0 0   0   0 0
Marchant     460 100  600 0 0   0   0 0
Norwood      470  95  630 0 0   0   0 0
Oldcastle    480 105  590 0 1 270  85 1
Pennock      460 115  560 1 0   0   0 0
Quarrie      470 120  520 0 1 290  95 2
Redfern      440 130   23 0 1 310 105 1
Saltash      380 150   18 0 1 350 125 0
Thorley      350 165   15 0 1 355 128 0
Underhill    320 185   12 0 1 360 132 0
Vosper       300 195   10 0 1 365 135 0
