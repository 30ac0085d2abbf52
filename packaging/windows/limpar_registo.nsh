; Nothing of Somado's stays in the registry: its own key, and the publisher's once it holds
; nothing else.
DeleteRegKey SHCTX "Software\Quorvel\Somado"
DeleteRegKey /ifempty SHCTX "Software\Quorvel"
