vantrel-skin 1
[window]
[list]
text = rgb(255, 255, 256)
