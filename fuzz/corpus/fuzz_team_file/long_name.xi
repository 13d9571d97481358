AVeryLongTeamNameIndeed 1x 2
PlayerWithAVeryLongName0 400 120 500 0 1 320 110 0
PlayerWithAVeryLongName1 400 120 500 0 1 320 110 1
PlayerWithAVeryLongName2 400 120 500 0 1 320 110 2
PlayerWithAVeryLongName3 400 120 500 0 1 320 110 3
PlayerWithAVeryLongName4 400 120 500 0 1 320 110 4
PlayerWithAVeryLongName5 400 120 500 1 1 320 110 5
PlayerWithAVeryLongName6 400 120 500 0 1 320 110 6
PlayerWithAVeryLongName7 400 120 500 0 1 320 110 7
PlayerWithAVeryLongName8 400 120 500 0 1 320 110 8
PlayerWithAVeryLongName9 400 120 500 0 1 320 110 9
PlayerWithAVeryLongName10 400 120 500 0 1 320 110 10
