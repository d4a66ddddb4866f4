vantrel-skin 1
[window]
[button]
facecolour = #000000
