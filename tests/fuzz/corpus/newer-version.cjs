vantrel-skin 2
[window]
[button]
