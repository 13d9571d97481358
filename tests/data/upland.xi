# Upland: a bowling side for the tests, six bowlers and a spinner keeper-side.
# Not a sample: the tests' golden reports depend on these ratings.
Upland
Lowther     410 110 580 0 0 0   0   0
Marsden     400 115 560 0 0 0   0   0
Nunney      420 110 590 0 0 0   0   0
Orrell      430 120 540 0 1 280 95  1
Pelton      410 125 520 1 0 0   0   0
Quorn       420 130 500 0 1 300 100 2
Rothley     380 140 440 0 1 320 115 1
Sedbergh    340 160 350 0 1 350 130 0
Thirsk      310 175 280 0 1 360 135 0
Ulverston   280 190 220 0 1 365 138 0
Wetherby    260 200 180 0 0 0   0   0
