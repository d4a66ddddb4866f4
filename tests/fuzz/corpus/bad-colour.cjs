vantrel-skin 1
[window]
text = #12345G
[button]
