"""The object kinds a level may hold: every tag the game builds, with the properties its builder reads,
their types and their defaults. Each tag becomes one object definition ("VKO_<Tag>.vko").

A default of None marks a property whose builder derives its default from another property when the
object does not give it; such a property is declared only for objects that set it (see make_levels.py).
"""

# Property types as the definitions name them, and the JSON value each default takes.
TYPES = ("Int", "Float", "Bool", "StringId", "Float3", "Color", "Model")

# Read by the factory for every object, whatever its tag.
COMMON = [
    ("renderMode", "StringId", ""),
    ("UseAtlas", "Bool", False),
    ("AtlasTexture", "StringId", ""),
    ("AtlasNormalTexture", "StringId", ""),
    ("AtlasMaterialTexture", "StringId", ""),
    ("AtlasFxTexture", "StringId", ""),
    ("Persistent", "Bool", False),
    ("HoverEnabled", "Bool", False),
    ("HoverGroupId", "StringId", ""),
    ("HoverAmplitude", "Float", 30.0),
    ("HoverFrequency", "Float", 1.0),
    ("HoverPhase", "Float", 0.0),
]

_ZERO3 = [0.0, 0.0, 0.0]

TAGS = {
    "Untagged": [],
    "Static": [],
    "Decoration": [],
    "Birgil": [],
    "Trigger": [],
    "WorldDeathThreshold": [],
    "Ground": [],
    "Platform": [],
    # Background pieces: model-only objects whose tag picks their sheet from the mesh atlas table.
    "background1": [],
    "lvl1parallax": [],
    "lvl2parallax": [],
    "lvl3parallax": [],
    "lvl1middleground": [],
    "lvl2middleground": [],
    "lvl3middleground": [],
    "Player": [
        ("HP", "Int", 2),
        ("Damage Per Hit", "Int", 1),
        ("God Mode", "Bool", False),
        ("MaxSpeed", "Float", 1000.0),
        ("Acceleration", "Float", None),
        ("SprintMultiplier", "Float", 1.3),
        ("GroundPoundDelay", "Float", 0.3),
        ("TerminalVelocity", "Float", 1500.0),
        ("Gravity", "Float", None),
        ("JumpForce", "Float", 1650.0),
        ("JumpGracePeriod", "Float", 0.1),
        ("myWallJumpHorizontalForceMult", "Float", 1.4),
        ("myWallJumpVerticalForceMult ", "Float", 0.15),
        ("ForgivingTimingDelay", "Float", 0.1),
    ],
    "Schnoz_II": [
        ("Knockback Force", "Float3", [0.0, 1800.0, 50.0]),
        ("HP", "Int", 1),
        ("Hitbox Size", "Float3", [75.0, 75.0, 75.0]),
        ("Hitbox Offset", "Float3", [0.0, 50.0, 50.0]),
    ],
    "Schnoz_III": [
        ("Knockback Force", "Float3", [0.0, 1800.0, 50.0]),
        ("HP", "Int", 1),
        ("Hitbox Size", "Float3", [200.0, 190.0, 100.0]),
        ("Hitbox Offset", "Float3", [0.0, 100.0, -100.0]),
    ],
    "Boss": [
        ("KnockbackForce", "Float3", [-7000.0, 3000.0, 0.0]),
        ("TimeToMove", "Float", 2.0),
        ("ColliderSize", "Float3", [400.0, 650.0, 300.0]),
        ("ColliderOffset", "Float3", [-100.0, 300.0, 0.0]),
        ("FirstDestination", "Float3", [5700.0, 0.0, 0.0]),
        ("FinalDestination", "Float3", [10700.0, 0.0, 0.0]),
    ],
    "EyeInTheSky": [],
    "levelEnd": [
        ("Trigger Size", "Float3", [180.0, 180.0, 180.0]),
        ("Target Scene", "StringId", ""),
        ("Target Level", "StringId", None),
        ("Exit Sequence Duration", "Float", 5.0),
        ("Prompt Text", "StringId", "Press up arrow to enter"),
        ("World Index", "Int", 1),
        ("World 1 Texture", "StringId", ""),
        ("World 2 Texture", "StringId", ""),
        ("World 3 Texture", "StringId", ""),
    ],
    "Checkpoint": [
        ("Trigger Size", "Float3", [100.0, 100.0, 100.0]),
        ("Activated Mesh", "StringId", "models/StaticMeshes/SM_Checkpoint_Active.fbx"),
        ("Respawn Y Offset", "Float", 100.0),
        ("Respawn Direction", "Int", 1),
    ],
    "Key": [("Collision Radius", "Float", 50.0)],
    "Coin": [("AnimatedSpriteId", "StringId", "coin_soul_idle"), ("Collision Radius", "Float", 50.0)],
    "PowerUp": [("AnimatedSpriteId", "StringId", "heart_idle"), ("Collision Radius", "Float", 50.0)],
    "RankingSystem": [
        ("Wisps", "Int", 2),
        ("Keys", "Int", 5),
        ("Neutral Rank", "Int", 69),
        ("Best Rank", "Int", 110),
    ],
    "BreakableBlock": [],
    "BloodSea": [
        ("StartActive", "Bool", False),
        ("TargetY", "Float", 0.0),
        ("Speed", "Float", 100.0),
        ("Rise Speed", "Float", None),
        ("Kill Distance Y", "Float", 300.0),
        ("Reactivate Max Y Delta", "Float", 3000.0),
        ("Reactivation Snap Distance Y", "Float", None),
        ("Activation Shake Intensity", "Float", 45.0),
        ("Activation Shake Duration", "Float", 0.35),
        ("SpawnPosition", "Float3", [0.0, -1000.0, -100.0]),
        ("Spawn Position", "Float3", None),
        ("Use Relative Spawn Position", "Bool", True),
    ],
    "DeathBox": [("Size", "Float3", _ZERO3), ("Offset", "Float3", _ZERO3)],
    "VfxEmitter": [
        ("VfxEffectId", "StringId", ""),
        ("VfxSpace", "StringId", "world"),
        ("VfxSpawnInterval", "Float", 0.1),
        ("VfxBurstOnStart", "Int", 0),
        ("VfxBurstOnActivate", "Int", 0),
        ("VfxSizeMultiplier", "Float", 1.0),
        ("VfxScreenX", "Float", 0.0),
        ("VfxScreenY", "Float", 0.0),
    ],
    "Fog": [
        ("FogColor", "Color", [0.0, 0.0, 0.0, 0.0]),
        ("FogNearPlane", "Float", 0.0),
        ("FogFarPlane", "Float", 0.0),
    ],
    "Autocam": [],
    "AutocamTrigger": [("TriggerBoxSize", "Float3", _ZERO3), ("BoxTriggerOffset", "Float3", _ZERO3)],
    "LockCamTrigger": [
        ("TriggerSize", "Float3", [5000.0, 500.0, 200.0]),
        ("TargetPosition", "Float3", _ZERO3),
        ("UseOwnerRelativePosition", "Bool", False),
        ("TargetFovDegrees", "Float", 30.0),
        ("FovLerpSpeed", "Float", 8.0),
        ("PositionLerpSpeed", "Float", 8.0),
        ("UnlockOnExit", "Bool", True),
        ("IsCutscene", "Bool", False),
        ("CutsceneDuration", "Float", 0.0),
        ("PlayerWalkSpeed", "Float", 0.0),
        ("UnlockOnEnd", "Bool", True),
        ("FirstSegmentDuration", "Float", 0.0),
        ("FirstSegmentStartDelay", "Float", 0.0),
        ("FirstSegmentShouldWalk", "Bool", False),
        ("FirstSegmentLocalCoords", "Bool", False),
        ("FirstSegmentEndPosition", "Float3", _ZERO3),
        ("SecondSegmentDuration", "Float", 0.0),
        ("SecondSegmentStartDelay", "Float", 0.0),
        ("SecondSegmentShouldWalk", "Bool", False),
        ("SecondSegmentLocalCoords", "Bool", False),
        ("SecondSegmentEndPosition", "Float3", _ZERO3),
        ("CutsceneName", "StringId", "Intro"),
    ],
    "Dialogue": [
        ("Time", "Float", 3.0),
        ("Radius", "Float", 250.0),
        ("TriggerOn", "Bool", False),
        ("Offset", "Float3", _ZERO3),
        ("Text", "StringId", "Null"),
        ("ShouldDisappear", "Bool", True),
    ],
}

# The objects whose box is a whole tile (100 x 100 x 200 from the object's position, its minimum corner).
TILE_TAGS = ("Ground", "Platform", "BreakableBlock")


def zero_of(aType):
    """The value a declared property takes when nothing gives one."""
    return {
        "Int": 0,
        "Float": 0.0,
        "Bool": False,
        "StringId": "",
        "Float3": [0.0, 0.0, 0.0],
        "Color": [0.0, 0.0, 0.0, 0.0],
        "Model": {"path": ""},
    }[aType]
