vantrel-skin 1
[window]
[button]
[font]
face = Ã(â‚
