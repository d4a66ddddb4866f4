vantrel-skin 1
[window]
background = #FFFFFF
